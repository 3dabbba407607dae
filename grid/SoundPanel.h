#pragma once

#include <QWidget>
#include <array>
#include <functional>

class QKeyEvent;
class QToolButton;

// The small tool bar laid over a word's sound cell: Play, Stop and Record. The panel keeps the
// focus; its buttons never take it.
class TSoundPanel : public QWidget
{
    Q_OBJECT

public:
    // The buttons by position, as the grid reaches them.
    enum TButton : int {
        sbPlay = 0,
        sbStop = 1,
        sbRecord = 2,
    };

    explicit TSoundPanel(QWidget *parent = nullptr);

    QToolButton *Button(TButton button) const { return Buttons[static_cast<size_t>(button)]; }
    // Sets every button's enabled and down state at once.
    void SetStates(bool play, bool playDown, bool stop, bool record, bool recordDown);

    // The panel is taken off its cell (by the program, not by the desktop hiding the window).
    std::function<void()> OnExit;
    // Keys pressed on the panel; true when handled.
    std::function<bool(QKeyEvent &event)> OnKeyDown;

protected:
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::array<QToolButton *, 3> Buttons{};
};
