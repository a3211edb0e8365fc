// The decoder window's read-only text pane: coloured, optionally bold text
// appended at the end, cleared when it holds kTextLimit characters.
#pragma once

#include <QColor>
#include <QTextEdit>

namespace nimboview {

class RichTextPane : public QTextEdit {
    Q_OBJECT

  public:
    static constexpr int kTextLimit = 24000;
    static constexpr const char* kClearedText = "... cleared ...\n";

    explicit RichTextPane(QWidget* parent = nullptr);

    // Appends text (line ends as "\n") in the colour and weight given. When
    // the pane already holds kTextLimit characters or more, its content is
    // first replaced by kClearedText; returns true then. Nothing of the new
    // text is lost. While the user has scrolled up or holds a selection, the
    // view and the selection stay as they are (only the scroll bar shows that
    // more arrived); at the end of the text the view follows the new text.
    bool Append(const QString& text, const QColor& colour, bool bold);
    // Characters in the pane, each line end counting one.
    int TextLength() const;

    // Background colour and the default font of new text.
    void SetBackground(const QColor& colour);
    void SetDefaultFont(const QString& family, int points);
    // Font zoom: `step` points more or fewer than the default font (within
    // kSmallestPoints and kLargestPoints); 0 goes back to the default size.
    void Zoom(int step);
    // Sets the zoom, fitted by FittedZoom to the default font's size; a view
    // that followed the end of the text still does.
    void SetZoom(int zoom);
    int ZoomSteps() const { return m_zoom; }
    int ZoomedPoints() const { return m_points + m_zoom; }
    // The zoom nearest to `zoom` that keeps a font of `points` (8 when not
    // positive) within kSmallestPoints and kLargestPoints; a font already
    // beyond them is not taken further out.
    static int FittedZoom(int points, int zoom);
    static constexpr int kSmallestPoints = 4;
    static constexpr int kLargestPoints = 48;

    // Select everything, copy it as plain and rich text, drop the selection.
    void CopyAll();
    void ClearAll();

  private:
    void ApplyFont();
    // The view shows the end of the text and nothing is selected.
    bool Following() const;
    // Caret and view at the end of the text.
    void ShowEnd();
    void Insert(const QString& text, const QColor& colour, bool bold);

    QString m_family;
    int m_points = 8;
    int m_zoom = 0;
};

}  // namespace nimboview
