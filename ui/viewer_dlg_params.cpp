// The window's "Parámetros" group: a vertical slider per parameter of the shown surface, its value,
// and "Animar", which sweeps the last slider moved back and forth until it is pressed again.
#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

#include "ui/viewer_dlg.h"

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

void CViewerDlg::ConnectParameters()
{
    m_paramGroup = new QGroupBox(QString::fromUtf8("Parámetros"), this);
    m_paramGroup->setObjectName(QStringLiteral("IDC_GROUP_PARAMS"));
    m_paramGroup->setGeometry(kGroupRect);
    for (int i = 0; i < kMaxSliders; ++i) {
        auto* name = new QLabel(m_paramGroup);
        name->setObjectName(QStringLiteral("IDC_PARAM_NAME_%1").arg(i));
        name->setGeometry(4 + 23 * i, 18, 22, 16);
        name->setAlignment(Qt::AlignCenter);
        auto* slider = new QSlider(Qt::Vertical, m_paramGroup);
        slider->setObjectName(QStringLiteral("IDC_PARAM_SLIDER_%1").arg(i));
        slider->setGeometry(5 + 23 * i, 36, 20, 120);
        slider->setRange(0, kSliderSteps);
        slider->setPageStep(kSliderSteps / 20);
        connect(slider, &QSlider::valueChanged, this, [this, i](int position) { OnParameterSlider(i, position); });
        m_paramNames.push_back(name);
        m_paramSliders.push_back(slider);
    }
    m_paramValue = new QLabel(m_paramGroup);
    m_paramValue->setObjectName(QStringLiteral("IDC_PARAM_VALUE"));
    m_paramValue->setGeometry(3, 158, 68, 16);
    m_paramValue->setAlignment(Qt::AlignCenter);
    m_paramAnimate = new QCheckBox(QString::fromUtf8("Animar"), m_paramGroup);
    m_paramAnimate->setObjectName(QStringLiteral("IDC_PARAM_ANIMATE"));
    m_paramAnimate->setGeometry(5, 182, 66, 20);
    m_paramAnimate->setToolTip(QString::fromUtf8("Recorre el parámetro del último deslizador movido, ida y vuelta,\n"
                                                 "hasta que se pulse de nuevo; «Guardar animación…» guarda entonces\n"
                                                 "ese barrido en vez del giro"));
    m_sweepTimer = new QTimer(this);
    m_sweepTimer->setObjectName(QStringLiteral("IDT_SWEEP"));
    m_sweepTimer->setInterval(kSweepTickMs);
    connect(m_sweepTimer, &QTimer::timeout, this, [this] {
        m_session.SweepTick(m_activeParameter);
        ShowParameterValues();
    });
    connect(m_paramAnimate, &QAbstractButton::toggled, this, [this](bool on) {
        if (on && !m_activeParameter.empty())
            m_sweepTimer->start();
        else
            m_sweepTimer->stop();
    });
    m_paramGroup->hide();   // until a surface with parameters is shown
}

void CViewerDlg::ShowParameters()
{
    // Rebuilt when another surface is shown; a frame of the same surface keeps the sliders.
    const SurfaceKind shown = m_session.View().surface;
    if (!m_paramGroup || shown == m_paramSurface)
        return;
    m_paramSurface = shown;
    m_paramControls = m_session.Parameters();
    if (m_paramControls.size() > static_cast<size_t>(kMaxSliders))
        m_paramControls.resize(kMaxSliders);
    m_activeParameter = m_paramControls.empty() ? std::string() : m_paramControls.front().name;
    m_paramAnimate->setChecked(false);
    for (int i = 0; i < kMaxSliders; ++i) {
        const bool used = i < static_cast<int>(m_paramControls.size());
        m_paramNames[static_cast<size_t>(i)]->setVisible(used);
        m_paramSliders[static_cast<size_t>(i)]->setVisible(used);
        if (used)
            m_paramNames[static_cast<size_t>(i)]->setText(QString::fromStdString(m_paramControls[static_cast<size_t>(i)].name));
    }
    m_paramGroup->setVisible(!m_paramControls.empty());
    ShowParameterValues();
}

void CViewerDlg::ShowParameterValues()
{
    m_paramControls = m_session.Parameters();
    for (size_t i = 0; i < m_paramControls.size() && i < m_paramSliders.size(); ++i) {
        const QSignalBlocker quiet(m_paramSliders[i]);
        m_paramSliders[i]->setValue(PositionOf(m_paramControls[i], m_paramControls[i].value));
        m_paramSliders[i]->setToolTip(QString::fromUtf8("%1: de %2 a %3")
                                          .arg(QString::fromStdString(m_paramControls[i].name))
                                          .arg(m_paramControls[i].least, 0, 'g', 4)
                                          .arg(m_paramControls[i].greatest, 0, 'g', 4));
        if (m_paramControls[i].name == m_activeParameter)
            m_paramValue->setText(QStringLiteral("%1 = %2")
                                      .arg(QString::fromStdString(m_activeParameter))
                                      .arg(m_paramControls[i].value, 0, 'g', 3));
    }
}

void CViewerDlg::OnParameterSlider(int index, int position)
{
    if (index >= static_cast<int>(m_paramControls.size()))
        return;
    const ParameterControl control = m_paramControls[static_cast<size_t>(index)];
    m_activeParameter = control.name;
    m_session.SetParameter(control.name, ValueAt(control, position));
    ShowParameterValues();
}
