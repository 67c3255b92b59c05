// The "Parámetros" group: a slider for each parameter, its positions the session's (SliderValue).
#include "ui/parameter_group.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QGroupBox>
#include <QEvent>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

namespace {

constexpr int kColumnWidth = 23;          // a slider and the space beside it
constexpr int kColumns = 3;               // as many as stand side by side in the group
constexpr int kRowMinHeight = 140;        // a name over a slider long enough to aim at
constexpr int kNameHeight = 19;           // the name and the space under it
constexpr int kSweepTickMs = 1000 / 25;   // "Animar" at the rate of the turntable

}   // namespace

CParameterGroup::CParameterGroup(QWidget& window, ViewSession& session)
    : m_session(session), m_group(new QGroupBox(QString::fromUtf8("Parámetros"), &window))
{
    m_group->setObjectName(QStringLiteral("IDC_GROUP_PARAMS"));
    m_scroll = new QScrollArea(m_group);
    m_scroll->setObjectName(QStringLiteral("IDC_PARAM_SCROLL"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_sliderArea = new QWidget;
    m_sliderArea->setAutoFillBackground(false);
    m_scroll->setWidget(m_sliderArea);
    m_value = new QLabel(m_group);
    m_value->setObjectName(QStringLiteral("IDC_PARAM_VALUE"));
    m_value->setAlignment(Qt::AlignCenter);
    m_animate = new QCheckBox(QString::fromUtf8("Animar"), m_group);
    m_animate->setObjectName(QStringLiteral("IDC_PARAM_ANIMATE"));
    m_animate->setToolTip(QString::fromUtf8("Recorre el parámetro del último deslizador movido, ida y vuelta,\n"
                                            "hasta que se pulse de nuevo; «Guardar animación…» propone entonces\n"
                                            "guardar ese barrido en vez del giro"));
    m_timer = new QTimer(&window);
    m_timer->setObjectName(QStringLiteral("IDT_SWEEP"));
    m_timer->setInterval(kSweepTickMs);
    QObject::connect(m_timer, &QTimer::timeout, m_group, [this] {
        m_session.SweepTick(m_sweep.Parameter());
        ShowValues();
    });
    QObject::connect(m_animate, &QAbstractButton::toggled, m_group, [this](bool on) {
        m_sweep.SetRunning(on);
        if (m_sweep.Ticks())
            m_timer->start();
        else
            m_timer->stop();
    });
    m_group->hide();   // until a surface with parameters is shown
}

void CParameterGroup::AddSlider()
{
    const int i = static_cast<int>(m_sliders.size());
    auto* name = new QLabel(m_sliderArea);
    name->setObjectName(QStringLiteral("IDC_PARAM_NAME_%1").arg(i));
    name->setAlignment(Qt::AlignCenter);
    auto* slider = new QSlider(Qt::Vertical, m_sliderArea);
    slider->setObjectName(QStringLiteral("IDC_PARAM_SLIDER_%1").arg(i));
    slider->setRange(0, kSliderSteps);
    slider->setPageStep(kSliderSteps / 20);
    QObject::connect(slider, &QSlider::valueChanged, m_group, [this, i](int position) { OnSlider(i, position); });
    // A slider taking the focus scrolls into sight, so Tab reaches every one.
    slider->installEventFilter(this);
    name->hide();
    slider->hide();
    m_names.push_back(name);
    m_sliders.push_back(slider);
}

void CParameterGroup::SetGeometry(const QRect& rect, double scale)
{
    // The value and "Animar" keep their distance from the group's bottom; the sliders take the rest.
    m_scale = scale;
    const auto at = [this](int pixels) { return static_cast<int>(std::lround(pixels * m_scale)); };
    m_group->setGeometry(rect);
    m_scroll->setGeometry(at(2), at(17), rect.width() - at(4), rect.height() - at(72));
    m_value->setGeometry(at(3), rect.height() - at(54), rect.width() - at(6), at(16));
    m_animate->setGeometry(at(5), rect.height() - at(30), rect.width() - at(8), at(20));
    LayOutSliders();
}

void CParameterGroup::LayOutSliders()
{
    const auto at = [this](int pixels) { return static_cast<int>(std::lround(pixels * m_scale)); };
    const int columnWidth = at(kColumnWidth), rowMinHeight = at(kRowMinHeight), nameHeight = at(kNameHeight);
    const int count = static_cast<int>(std::min(m_controls.size(), m_sliders.size()));
    const int width = m_scroll->width();
    int height = m_scroll->height();
    const int mostRows = std::max(1, (count + kColumns - 1) / kColumns);
    int rows = std::clamp(height / rowMinHeight, 1, mostRows);
    int columns = std::max(1, (count + rows - 1) / rows);
    if (columns * columnWidth > width) {   // a bar to scroll sideways, under the sliders
        height -= m_scroll->horizontalScrollBar()->sizeHint().height();
        rows = std::clamp(height / rowMinHeight, 1, mostRows);
        columns = std::max(1, (count + rows - 1) / rows);
    }
    const int rowHeight = height / rows;
    m_sliderArea->resize(std::max(width, columns * columnWidth), height);
    for (int i = 0; i < count; ++i) {
        const int x = (i % columns) * columnWidth, y = (i / columns) * rowHeight;
        m_names[static_cast<size_t>(i)]->setGeometry(x + at(2), y + at(1), columnWidth - at(1), at(16));
        m_sliders[static_cast<size_t>(i)]->setGeometry(x + at(3), y + nameHeight, columnWidth - at(3),
                                                       rowHeight - nameHeight - at(1));
    }
}

bool CParameterGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        if (auto* slider = qobject_cast<QSlider*>(watched))
            m_scroll->ensureWidgetVisible(slider, 0, 0);
    return QObject::eventFilter(watched, event);
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
    return m_sweep.Proposed();
}

bool CParameterGroup::Pause()
{
    const bool running = m_timer->isActive();
    m_timer->stop();
    return running;
}

void CParameterGroup::Resume()
{
    if (m_sweep.GoesOnAfterSave(true))
        m_timer->start();
}

void CParameterGroup::Show()
{
    const SurfaceKind shown = m_session.View().surface;
    if (shown == m_surface)
        return;
    m_surface = shown;
    m_controls = m_session.Parameters();
    while (m_sliders.size() < m_controls.size())
        AddSlider();
    m_sweep.Show(m_controls);
    m_animate->setChecked(false);
    for (size_t i = 0; i < m_sliders.size(); ++i) {
        const bool used = i < m_controls.size();
        m_names[i]->setVisible(used);
        m_sliders[i]->setVisible(used);
        if (used)
            m_names[i]->setText(QString::fromStdString(m_controls[i].name));
    }
    m_group->setVisible(!m_controls.empty());
    LayOutSliders();
    m_scroll->horizontalScrollBar()->setValue(0);
    ShowValues();
}

void CParameterGroup::ShowValues()
{
    m_controls = m_session.Parameters();
    for (size_t i = 0; i < m_controls.size() && i < m_sliders.size(); ++i) {
        const QSignalBlocker quiet(m_sliders[i]);
        m_sliders[i]->setValue(SliderPosition(m_controls[i], m_controls[i].value));
        m_sliders[i]->setToolTip(QString::fromUtf8("%1: de %2 a %3")
                                     .arg(QString::fromStdString(m_controls[i].name))
                                     .arg(m_controls[i].least, 0, 'g', 4)
                                     .arg(m_controls[i].greatest, 0, 'g', 4));
        if (m_controls[i].name == m_sweep.Parameter())
            m_value->setText(QStringLiteral("%1 = %2").arg(QString::fromStdString(m_controls[i].name)).arg(m_controls[i].value, 0, 'g', 3));
    }
}

void CParameterGroup::OnSlider(int index, int position)
{
    if (index >= static_cast<int>(m_controls.size()))
        return;
    const ParameterControl control = m_controls[static_cast<size_t>(index)];
    m_sweep.Moved(control.name);
    m_session.SetParameter(control.name, SliderValue(control, position));
    ShowValues();
}
