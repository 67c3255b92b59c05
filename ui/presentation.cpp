#include "ui/presentation.h"

#include <cmath>

#include <QDialog>
#include <QEvent>
#include <QShortcut>
#include <QWidget>

#include "ui/dialog_template.h"
#include "ui/window_layout.h"

CPresentation::CPresentation(QDialog& window, std::function<void()> relayout)
    : QObject(&window), m_window(window), m_relayout(std::move(relayout))
{
    for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control->objectName().startsWith(QStringLiteral("IDC")))
            m_places.emplace_back(control, control->geometry());
    auto* key = new QShortcut(QKeySequence(Qt::Key_H), &window);
    connect(key, &QShortcut::activated, this, [this] { SetPresenting(!m_presenting); });
    window.installEventFilter(this);
}

ControlGroup CPresentation::GroupOf(const QObject& control)
{
    const QString name = control.objectName();
    const auto is = [&name](const char* prefix) { return name.startsWith(QLatin1String(prefix)); };
    if (is("IDC_FRAME_SQUARE"))
        return ControlGroup::Picture;
    if (is("IDC_GROUP_PARAMS") || is("IDC_PARAM"))
        return ControlGroup::Parameters;
    if (is("IDC_SCROLL_") || is("IDC_STATIC_BARS"))
        return ControlGroup::Bars;
    if (is("IDC_SURFACE") || is("IDC_GROUP_SURFACE") || is("IDC_OTHER_SURFACE") || is("IDC_DEFINE_BUTTON"))
        return ControlGroup::Surfaces;
    if (is("IDC_VIEW") || is("IDC_GROUP_VIEW") || is("IDC_STATIC_LINE_WIDTH") || is("IDC_STATIC_THEME"))
        return ControlGroup::View;
    if (is("IDC_GROUP_SECTION") || is("IDC_SECTION"))
        return ControlGroup::Section;
    return ControlGroup::Window;   // "Cerrar", "Instrucciones", "Acerca de…"
}

void CPresentation::SetPresenting(bool on)
{
    if (on == m_presenting)
        return;
    m_presenting = on;
    if (on) {
        for (QWidget* control : m_window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!control->isWindow() && control->isVisibleTo(&m_window) && !ShownInPresentation(GroupOf(*control))) {
                control->hide();
                m_hidden.emplace_back(control);
            }
    } else {
        for (const QPointer<QWidget>& control : m_hidden)
            if (control)
                control->show();
        m_hidden.clear();
    }
    m_relayout();
}

int CPresentation::TextPixels() const
{
    const int own = DialogFont().pixelSize();
    if (!m_window.isFullScreen())
        return own;
    int pixels = FullScreenTextPixels(own, m_window.width(), m_window.height());
    // On a small screen larger text would push the columns beside the square off it.
    while (pixels > own && !SquareFits(m_window.size(), static_cast<double>(pixels) / own))
        --pixels;
    return pixels;
}

double CPresentation::Scale() const
{
    return static_cast<double>(TextPixels()) / DialogFont().pixelSize();
}

void CPresentation::Apply()
{
    const int pixels = TextPixels();
    if (pixels == m_appliedPixels)
        return;
    m_appliedPixels = pixels;
    QFont font = DialogFont();
    font.setPixelSize(pixels);
    m_window.setFont(font);
    const double scale = Scale();
    const auto at = [scale](int value) { return static_cast<int>(std::lround(value * scale)); };
    for (const auto& [control, place] : m_places)
        if (control)
            control->setGeometry(at(place.x()), at(place.y()), at(place.width()), at(place.height()));
}

bool CPresentation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window && event->type() == QEvent::WindowStateChange)
        m_relayout();
    return QObject::eventFilter(watched, event);
}
