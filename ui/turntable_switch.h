// The turntable of the window: the switch "Girar", Space on the square and Ctrl+Space anywhere,
// and the timer whose ticks the session turns into frames.
#pragma once

class CFrameSquare;
class QAbstractButton;
class QTimer;
class QWidget;
class ViewSession;

class CTurntableSwitch {
public:
    CTurntableSwitch(QWidget& window, QAbstractButton& turnBox, CFrameSquare& square, ViewSession& session);

    bool IsTurning() const;
    void SetTurning(bool on);   // no surface, no turn; the switch follows
    bool Pause();               // the timer stopped, the switch left as it is; whether it ran

private:
    QAbstractButton& m_box;
    ViewSession&     m_session;
    QTimer*          m_timer;   // runs only while turning; owned by the window
};
