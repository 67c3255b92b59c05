// The turntable's switch, keys and timer.
#include "ui/turntable_switch.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>

#include "export/gif_encoder.h"
#include "session/view_session.h"
#include "ui/frame_square.h"

namespace {

constexpr int kTurnTickMs = 1000 / kGifFpsDefault;   // 40 ms, the rate of a saved animation

}   // namespace

CTurntableSwitch::CTurntableSwitch(QWidget& window, QAbstractButton& turnBox, CFrameSquare& square,
                                   ViewSession& session)
    : m_box(turnBox), m_session(session), m_timer(new QTimer(&window))
{
    m_timer->setObjectName(QStringLiteral("IDT_TURN"));
    m_timer->setInterval(kTurnTickMs);
    QObject::connect(m_timer, &QTimer::timeout, &window, [this] { m_session.TurnTick(); });

    // Space belongs to the square, so that a focused button still takes it; Ctrl+Space works anywhere.
    QObject::connect(&square, &CFrameSquare::turnKey, &window, [this] { SetTurning(!IsTurning()); });
    auto* shortcut = new QShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_Space), &window);
    shortcut->setAutoRepeat(false);
    QObject::connect(shortcut, &QShortcut::activated, &window, [this] { SetTurning(!IsTurning()); });
    QObject::connect(&m_box, &QAbstractButton::toggled, &window, [this](bool on) { SetTurning(on); });
}

bool CTurntableSwitch::IsTurning() const
{
    return m_timer->isActive();
}

bool CTurntableSwitch::Pause()
{
    const bool wasTurning = IsTurning();
    m_timer->stop();
    return wasTurning;
}

void CTurntableSwitch::SetTurning(bool on)
{
    on = on && m_session.CanTurn();
    if (on && !IsTurning())
        m_timer->start();
    else if (!on)
        m_timer->stop();   // stopped, nothing runs: no timer, no work
    const QSignalBlocker quiet(&m_box);
    m_box.setChecked(on);
}
