// A check box that steps through 0 (cleared), 1 (checked) and 2 (grayed)
// on each click, the order of the options dialog's three-state boxes.
#pragma once

#include <QCheckBox>

namespace dovrel {

class ThreeStateBox : public QCheckBox {
    Q_OBJECT
  public:
    explicit ThreeStateBox(const QString& text, QWidget* parent = nullptr);
    // 0, 1 or 2; SetValue takes any value modulo 3.
    int Value() const;
    void SetValue(int value);

  protected:
    void nextCheckState() override;
};

}  // namespace dovrel
