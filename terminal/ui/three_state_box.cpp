// Qt's own tri-state order is cleared, grayed, checked; this box keeps a
// counter modulo 3 instead.
#include "three_state_box.h"

namespace dovrel {

ThreeStateBox::ThreeStateBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
    setTristate(true);
}

int ThreeStateBox::Value() const {
    switch (checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        case Qt::Unchecked:
            break;
    }
    return 0;
}

void ThreeStateBox::SetValue(int value) {
    const int v = ((value % 3) + 3) % 3;
    setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void ThreeStateBox::nextCheckState() { SetValue(Value() + 1); }

}  // namespace dovrel
