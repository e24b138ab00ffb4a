#include "app/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace uvlamp::app {

TUpDown::TUpDown(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto makeButton = [this, layout](Qt::ArrowType arrow, int delta) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        // The two share the height of the field beside them, whatever the style's minimum.
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        connect(button, &QToolButton::clicked, this, [this, delta] { Step(delta); });
        layout->addWidget(button);
        return button;
    };
    up_ = makeButton(Qt::UpArrow, 1);
    down_ = makeButton(Qt::DownArrow, -1);
    setFixedWidth(16);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void TUpDown::SetAssociate(QLineEdit* edit) {
    edit_ = edit;
    if (edit_)
        edit_->setText(QString::number(position_));
}

void TUpDown::SetRange(int minimum, int maximum) {
    minimum_ = std::min(minimum, maximum);
    maximum_ = std::max(minimum, maximum);
    if (position_ < minimum_ || position_ > maximum_)
        SetPosition(position_);
}

int TUpDown::Position() const {
    return position_;
}

void TUpDown::SetPosition(int position) {
    const int clamped = std::clamp(position, minimum_, maximum_);
    const bool changed = clamped != position_;
    position_ = clamped;
    if (edit_)
        edit_->setText(QString::number(position_));
    if (changed)
        emit PositionChanged(position_);
}

void TUpDown::Step(int delta) {
    int from = position_;
    if (edit_) {
        bool isNumber = false;
        const int typed = edit_->text().trimmed().toInt(&isNumber);
        if (isNumber && typed >= minimum_ && typed <= maximum_)
            from = typed;
    }
    // Stepping past an end stays at the end (no overflow at the limits of int either).
    const long long next = static_cast<long long>(from) + delta;
    SetPosition(static_cast<int>(std::clamp<long long>(next, minimum_, maximum_)));
}

}  // namespace uvlamp::app
