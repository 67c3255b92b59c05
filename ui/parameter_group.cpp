// The sliders map 0 ... kSliderSteps onto the least ... greatest of each parameter's range.
#include "ui/parameter_group.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

namespace {

constexpr int kSliderSteps = 1000;            // a slider's positions from the least to the greatest
constexpr int kMaxSliders = 3;                // as many as stand side by side in the group
constexpr int kSweepTickMs = 1000 / 25;       // "Animar" at the rate of the turntable
constexpr QRect kGroupRect{686, 300, 74, 212};

double ValueAt(const ParameterControl& control, int position)
{
    return position >= kSliderSteps ? control.greatest
                                    : control.least + position * (control.greatest - control.least) / kSliderSteps;
}

int PositionOf(const ParameterControl& control, double value)
{
    const double t = (value - control.least) / (control.greatest - control.least);
    return static_cast<int>(std::lround(std::clamp(t, 0.0, 1.0) * kSliderSteps));
}

}   // namespace

CParameterGroup::CParameterGroup(QWidget& window, ViewSession& session)
    : m_session(session), m_group(new QGroupBox(QString::fromUtf8("Parámetros"), &window))
{
    m_group->setObjectName(QStringLiteral("IDC_GROUP_PARAMS"));
    m_group->setGeometry(kGroupRect);
    for (int i = 0; i < kMaxSliders; ++i) {
        auto* name = new QLabel(m_group);
        name->setObjectName(QStringLiteral("IDC_PARAM_NAME_%1").arg(i));
        name->setGeometry(4 + 23 * i, 18, 22, 16);
        name->setAlignment(Qt::AlignCenter);
        auto* slider = new QSlider(Qt::Vertical, m_group);
        slider->setObjectName(QStringLiteral("IDC_PARAM_SLIDER_%1").arg(i));
        slider->setGeometry(5 + 23 * i, 36, 20, 120);
        slider->setRange(0, kSliderSteps);
        slider->setPageStep(kSliderSteps / 20);
        QObject::connect(slider, &QSlider::valueChanged, m_group, [this, i](int position) { OnSlider(i, position); });
        m_names.push_back(name);
        m_sliders.push_back(slider);
    }
    m_value = new QLabel(m_group);
    m_value->setObjectName(QStringLiteral("IDC_PARAM_VALUE"));
    m_value->setGeometry(3, 158, 68, 16);
    m_value->setAlignment(Qt::AlignCenter);
    m_animate = new QCheckBox(QString::fromUtf8("Animar"), m_group);
    m_animate->setObjectName(QStringLiteral("IDC_PARAM_ANIMATE"));
    m_animate->setGeometry(5, 182, 66, 20);
    m_animate->setToolTip(QString::fromUtf8("Recorre el parámetro del último deslizador movido, ida y vuelta,\n"
                                            "hasta que se pulse de nuevo; «Guardar animación…» propone entonces\n"
                                            "guardar ese barrido en vez del giro"));
    m_timer = new QTimer(&window);
    m_timer->setObjectName(QStringLiteral("IDT_SWEEP"));
    m_timer->setInterval(kSweepTickMs);
    QObject::connect(m_timer, &QTimer::timeout, m_group, [this] {
        m_session.SweepTick(m_active);
        ShowValues();
    });
    QObject::connect(m_animate, &QAbstractButton::toggled, m_group, [this](bool on) {
        if (on && !m_active.empty())
            m_timer->start();
        else
            m_timer->stop();
    });
    m_group->hide();   // until a surface with parameters is shown
}

std::vector<std::string> CParameterGroup::Names() const
{
    std::vector<std::string> names;
    for (size_t i = 0; i < m_controls.size() && i < m_sliders.size(); ++i)
        names.push_back(m_controls[i].name);
    return names;
}

std::string CParameterGroup::Sweeping() const
{
    return m_animate->isChecked() ? m_active : std::string();
}

bool CParameterGroup::Pause()
{
    const bool running = m_timer->isActive();
    m_timer->stop();
    return running;
}

void CParameterGroup::Resume()
{
    if (m_animate->isChecked() && !m_active.empty())
        m_timer->start();
}

void CParameterGroup::Show()
{
    const SurfaceKind shown = m_session.View().surface;
    if (shown == m_surface)
        return;
    m_surface = shown;
    m_controls = m_session.Parameters();
    if (m_controls.size() > static_cast<size_t>(kMaxSliders))
        m_controls.resize(kMaxSliders);
    m_active = m_controls.empty() ? std::string() : m_controls.front().name;
    m_animate->setChecked(false);
    for (size_t i = 0; i < m_sliders.size(); ++i) {
        const bool used = i < m_controls.size();
        m_names[i]->setVisible(used);
        m_sliders[i]->setVisible(used);
        if (used)
            m_names[i]->setText(QString::fromStdString(m_controls[i].name));
    }
    m_group->setVisible(!m_controls.empty());
    ShowValues();
}

void CParameterGroup::ShowValues()
{
    m_controls = m_session.Parameters();
    for (size_t i = 0; i < m_controls.size() && i < m_sliders.size(); ++i) {
        const QSignalBlocker quiet(m_sliders[i]);
        m_sliders[i]->setValue(PositionOf(m_controls[i], m_controls[i].value));
        m_sliders[i]->setToolTip(QString::fromUtf8("%1: de %2 a %3")
                                     .arg(QString::fromStdString(m_controls[i].name))
                                     .arg(m_controls[i].least, 0, 'g', 4)
                                     .arg(m_controls[i].greatest, 0, 'g', 4));
        if (m_controls[i].name == m_active)
            m_value->setText(QStringLiteral("%1 = %2").arg(QString::fromStdString(m_active)).arg(m_controls[i].value, 0, 'g', 3));
    }
}

void CParameterGroup::OnSlider(int index, int position)
{
    if (index >= static_cast<int>(m_controls.size()))
        return;
    const ParameterControl control = m_controls[static_cast<size_t>(index)];
    m_active = control.name;
    m_session.SetParameter(control.name, ValueAt(control, position));
    ShowValues();
}
