// The "Corte" menu and slider: each event handed to the session in one call.
#include "ui/section_control.h"

#include <utility>

#include <QAction>
#include <QActionGroup>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "session/view_session.h"

namespace {

struct AxisItem {
    const char* caption;
    const char* name;
};
constexpr AxisItem kAxisItems[] = {
    {"&Ninguno", "IDC_SECTION_NONE"},
    {"Plano &x = c", "IDC_SECTION_X"},
    {"Plano &y = c", "IDC_SECTION_Y"},
    {"Plano &z = c", "IDC_SECTION_Z"},
};

}   // namespace

CSectionControl::CSectionControl(QWidget& window, ViewSession& session, std::function<void()> redraw,
                                 std::function<void()> relayout)
    : QObject(&window), m_session(session), m_redraw(std::move(redraw)), m_relayout(std::move(relayout))
{
    m_menu = std::make_unique<QMenu>(QString::fromUtf8("C&orte"));
    m_menu->setObjectName(QStringLiteral("IDC_SECTION_MENU"));
    m_menu->setToolTipsVisible(true);
    m_axes = new QActionGroup(this);
    for (int i = 0; i < 4; ++i) {
        QAction* action = m_menu->addAction(QString::fromUtf8(kAxisItems[i].caption));
        action->setObjectName(QString::fromUtf8(kAxisItems[i].name));
        action->setCheckable(true);
        action->setChecked(i == 0);
        m_axes->addAction(action);
        connect(action, &QAction::triggered, this, [this, i] { ChooseAxis(i); });
    }
    m_menu->menuAction()->setToolTip(QString::fromUtf8("El corte de la superficie por un plano paralelo a uno de los coordenados"));

    m_group = new QGroupBox(QString::fromUtf8("Corte"), &window);
    m_group->setObjectName(QStringLiteral("IDC_GROUP_SECTION"));
    m_value = new QLabel(m_group);
    m_value->setObjectName(QStringLiteral("IDC_STATIC_SECTION"));
    m_slider = new QSlider(Qt::Horizontal, m_group);
    m_slider->setObjectName(QStringLiteral("IDC_SECTION_SLIDER"));
    m_slider->setRange(0, kSectionSteps);
    m_slider->setPageStep(kSectionSteps / 10);
    m_slider->setAccessibleName(QString::fromUtf8("Corte"));
    m_slider->setToolTip(QString::fromUtf8("Mueve el plano del corte a lo largo de la superficie"));
    auto* layout = new QVBoxLayout(m_group);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(0);
    layout->addWidget(m_value);
    layout->addWidget(m_slider);
    connect(m_slider, &QSlider::valueChanged, this, [this](int step) {
        if (m_session.SetSectionStep(step) && m_session.HasFrame())
            m_redraw();
        m_value->setText(ValueText());
    });
    m_group->hide();   // until a plane is chosen
}

bool CSectionControl::IsShown() const
{
    return m_session.Section().has_value();
}

void CSectionControl::SetGeometry(const QRect& rect, bool shown)
{
    m_group->setGeometry(rect);
    m_group->setVisible(shown && IsShown());
}

QString CSectionControl::ValueText() const
{
    const auto& plane = m_session.Section();
    if (!plane)
        return {};
    return QStringLiteral("%1 = %2").arg(QChar::fromLatin1(SectionAxisLetter(plane->axis))).arg(plane->value, 0, 'g', 3);
}

void CSectionControl::Refresh()
{
    const auto& plane = m_session.Section();   // a link may bring a plane, or none
    m_axes->actions()[plane ? static_cast<int>(plane->axis) + 1 : 0]->setChecked(true);
    if (m_group->isHidden() == plane.has_value()) {
        m_group->setVisible(plane.has_value());
        m_relayout();
    }
    const QSignalBlocker quiet(m_slider);
    m_slider->setValue(m_session.SectionStep());
    m_value->setText(ValueText());
}

void CSectionControl::ChooseAxis(int index)
{
    const SectionAxis axes[] = {SectionAxis::X, SectionAxis::Y, SectionAxis::Z};
    const bool changed = m_session.SetSectionAxis(index == 0 ? std::nullopt : std::optional(axes[index - 1]));
    m_group->setVisible(index != 0);
    Refresh();
    m_relayout();
    if (changed && m_session.HasFrame())
        m_redraw();
}
