#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A pair of arrow buttons that step the number in an associated edit. The edit keeps any text the
// user types, so that a caller can check it; an arrow click starts from the edit's number (or the
// last position when the text is no number), steps by the increment and keeps within the range.
// The Up and Down keys in the edit step as the arrows do.
class TUpDown : public QWidget
{
    Q_OBJECT

public:
    explicit TUpDown(QWidget *parent = nullptr);

    void SetAssociate(QLineEdit *edit);
    QLineEdit *Associate() const { return Edit; }

    int Min() const { return Minimum; }
    int Max() const { return Maximum; }
    int Increment() const { return Step; }
    int Position() const { return Pos; }
    // A range change keeps the position within it but leaves the edit's text alone.
    void SetMin(int value);
    void SetMax(int value);
    void SetRange(int min, int max);
    void SetIncrement(int value);
    // Clamps the value into the range and shows it in the edit.
    void SetPosition(int value);

    // As a click on the up (steps > 0) or down arrow, once per step.
    void StepBy(int steps);

    QToolButton *UpButton() const { return Up; }
    QToolButton *DownButton() const { return Down; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void PositionChanged(int position);

private:
    int Clamped(int value) const;
    int StartValue() const;

    QLineEdit *Edit = nullptr;
    QToolButton *Up;
    QToolButton *Down;
    int Minimum = 0;
    int Maximum = 100;
    int Step = 1;
    int Pos = 0;
};
