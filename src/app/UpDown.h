#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

class QToolButton;

namespace uvlamp::app {

// Two arrow buttons tied to an edit field: the arrows step a position within a range and write
// it into the field as text; the field can still be typed into freely. Setting the position
// (arrows or code) sets the field's text, which runs the field's own change signal.
class TUpDown : public QWidget {
    Q_OBJECT
  public:
    explicit TUpDown(QWidget* parent = nullptr);
    // Ties the field and writes the position into it.
    void SetAssociate(QLineEdit* edit);
    // Reversed bounds are swapped; a position outside the new range moves to its nearer end.
    void SetRange(int minimum, int maximum);
    int Position() const;
    // Clamped to the range; writes the position into the field (even when the position stays, so
    // that a typed text is replaced). PositionChanged only when the position changes.
    void SetPosition(int position);

  signals:
    void PositionChanged(int position);

  private:
    // An arrow steps from the number in the field when it holds one in range, else from the
    // position last set.
    void Step(int delta);

    QPointer<QLineEdit> edit_;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};

}  // namespace uvlamp::app
