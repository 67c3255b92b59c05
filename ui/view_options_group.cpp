// The "Vista" group of the window: how the shown frame is drawn, with a key for each switch.
#include "ui/view_options_group.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>
#include <utility>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>

#include "render/theme.h"
#include "session/style_rules.h"
#include "session/view_session.h"
#include "ui_viewer_dlg.h"

namespace {

const char kDistanceToolTip[] = "P: distancia del ojo (Re Pág y Av Pág)";
const char kDistanceParallelToolTip[] =
    "P: distancia del ojo (Re Pág y Av Pág)\n"
    "Sin efecto con la proyección paralela: el ojo está en el infinito";

}   // namespace

CViewOptionsGroup::CViewOptionsGroup(QWidget& window, Ui::CViewerDlg& ui, ViewSession& session, std::function<void()> redraw)
    : QObject(&window), m_window(&window), m_ui(&ui), m_session(session), m_redraw(std::move(redraw))
{
    struct Switch {
        QCheckBox*  box;
        Qt::Key     key;
        const char* tip;
    };
    const Switch switches[] = {
        {m_ui->IDC_VIEW_HIDDEN, Qt::Key_O, "Oculta las líneas que la superficie tapa (tecla O)"},
        {m_ui->IDC_VIEW_DEPTH_CUE, Qt::Key_C, "Azul más claro cuanto más cerca del ojo (tecla C)"},
        {m_ui->IDC_VIEW_ANAGLYPH, Qt::Key_A,
         "Imagen estéreo para gafas rojo/cian: ojo izquierdo rojo, derecho cian (tecla A;\n"
         "I o el menú del cuadro intercambian los ojos)"},
        {m_ui->IDC_VIEW_PARALLEL, Qt::Key_P, "El ojo en el infinito: la distancia P no cambia la imagen (tecla P)"},
    };
    for (const Switch& s : switches) {
        s.box->setToolTip(QString::fromUtf8(s.tip));
        connect(s.box, &QCheckBox::toggled, this, &CViewOptionsGroup::OnViewOption);
        auto* shortcut = new QShortcut(QKeySequence(s.key), m_window);
        connect(shortcut, &QShortcut::activated, s.box, &QAbstractButton::toggle);
    }
    QSpinBox* width = m_ui->IDC_VIEW_LINE_WIDTH;
    width->setRange(kLineWidthMin, kLineWidthMax);
    width->setToolTip(QString::fromUtf8("Grosor de las líneas en píxeles, de 1 a 4 (tecla G: uno más, "
                                        "Mayús+G: uno menos)"));
    m_ui->IDC_STATIC_LINE_WIDTH->setToolTip(width->toolTip());
    m_ui->IDC_STATIC_LINE_WIDTH->setBuddy(width);
    connect(width, &QSpinBox::valueChanged, this, &CViewOptionsGroup::OnViewOption);
    auto* wider = new QShortcut(QKeySequence(Qt::Key_G), m_window);
    connect(wider, &QShortcut::activated, width, &QSpinBox::stepUp);
    auto* thinner = new QShortcut(QKeySequence(Qt::ShiftModifier | Qt::Key_G), m_window);
    connect(thinner, &QShortcut::activated, width, &QSpinBox::stepDown);

    m_swapEyesAction = new QAction(QString::fromUtf8("&Intercambiar ojos"), m_window);
    m_swapEyesAction->setCheckable(true);
    m_swapEyesAction->setShortcut(QKeySequence(Qt::Key_I));
    m_swapEyesAction->setShortcutVisibleInContextMenu(true);
    m_swapEyesAction->setToolTip(QString::fromUtf8("Para gafas puestas al revés: ojo izquierdo cian, derecho rojo"));
    m_window->addAction(m_swapEyesAction);
    connect(m_swapEyesAction, &QAction::toggled, this, &CViewOptionsGroup::OnViewOption);
    // The theme: chosen in the list, or T in turn (Pantalla, Papel, Proyector); either sets the
    // line width to the theme's own, still the user's to change.
    QComboBox* theme = m_ui->IDC_VIEW_THEME;
    for (const ThemeInfo& info : Themes())
        theme->addItem(QString::fromUtf8(info.caption.data(), static_cast<qsizetype>(info.caption.size())));
    theme->setToolTip(QString::fromUtf8("Colores de la imagen: pantalla (fondo negro), papel (blanco, líneas negras)\n"
                                        "o proyector (fondo oscuro, líneas claras y gruesas) (tecla T)"));
    m_ui->IDC_STATIC_THEME->setToolTip(theme->toolTip());
    m_ui->IDC_STATIC_THEME->setBuddy(theme);
    connect(theme, &QComboBox::currentIndexChanged, this, [this](int index) {
        const QSignalBlocker quiet(m_ui->IDC_VIEW_LINE_WIDTH);   // one redraw for both
        m_ui->IDC_VIEW_LINE_WIDTH->setValue(WithTheme(m_session.Style(), Themes()[static_cast<size_t>(index)].theme).lineWidth);
        OnViewOption();
    });
    auto* nextTheme = new QShortcut(QKeySequence(Qt::Key_T), m_window);
    connect(nextTheme, &QShortcut::activated, this,
            [theme] { theme->setCurrentIndex((theme->currentIndex() + 1) % theme->count()); });
    QCheckBox* axes = m_ui->IDC_VIEW_AXES;
    axes->setToolTip(QString::fromUtf8("Los ejes x, y y z por el origen de la superficie, con flechas y nombres (tecla E)"));
    connect(axes, &QCheckBox::toggled, this, &CViewOptionsGroup::OnViewOption);
    auto* axesKey = new QShortcut(QKeySequence(Qt::Key_E), m_window);
    connect(axesKey, &QShortcut::activated, axes, &QAbstractButton::toggle);
    QCheckBox* ticks = m_ui->IDC_VIEW_TICKS;
    ticks->setToolTip(QString::fromUtf8("Los ejes numerados en las unidades de las fórmulas (tecla M)"));
    connect(ticks, &QCheckBox::toggled, this, &CViewOptionsGroup::OnViewOption);
    auto* ticksKey = new QShortcut(QKeySequence(Qt::Key_M), m_window);
    connect(ticksKey, &QShortcut::activated, ticks, &QAbstractButton::toggle);
    // F11: full screen and back; the square takes the screen's free space (Esc leaves it too).
    auto* fullScreen = new QShortcut(QKeySequence(Qt::Key_F11), m_window);
    connect(fullScreen, &QShortcut::activated, this,
            [this] { m_window->isFullScreen() ? m_window->showNormal() : m_window->showFullScreen(); });
    // After "Cerrar", the group's controls from the top, then round to the first button.
    QWidget* order[] = {m_ui->IDCANCEL,           m_ui->IDC_VIEW_HIDDEN,     m_ui->IDC_VIEW_DEPTH_CUE,
                        m_ui->IDC_VIEW_ANAGLYPH,  m_ui->IDC_VIEW_PARALLEL,   m_ui->IDC_VIEW_AXES,
                        m_ui->IDC_VIEW_TICKS,     m_ui->IDC_VIEW_LINE_WIDTH, m_ui->IDC_VIEW_THEME,
                        m_ui->IDC_VIEW_FRAME,     m_ui->IDC_ABOUT_BUTTON};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    OnViewOption();
}

void CViewOptionsGroup::ShowStyle()
{
    const FrameStyle& style = m_session.Style();
    QObject* controls[] = {m_ui->IDC_VIEW_HIDDEN,   m_ui->IDC_VIEW_DEPTH_CUE, m_ui->IDC_VIEW_ANAGLYPH, m_ui->IDC_VIEW_PARALLEL,
                           m_ui->IDC_VIEW_AXES,     m_ui->IDC_VIEW_LINE_WIDTH, m_ui->IDC_VIEW_THEME,   m_swapEyesAction};
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QObject* control : controls)
        quiet.push_back(std::make_unique<QSignalBlocker>(control));
    m_ui->IDC_VIEW_HIDDEN->setChecked(style.hiddenLines);
    m_ui->IDC_VIEW_DEPTH_CUE->setChecked(style.depthCue);
    m_ui->IDC_VIEW_ANAGLYPH->setChecked(style.anaglyph);
    m_ui->IDC_VIEW_PARALLEL->setChecked(style.parallel);
    m_ui->IDC_VIEW_AXES->setChecked(style.axes);
    m_ui->IDC_VIEW_LINE_WIDTH->setValue(style.lineWidth);
    const auto themes = Themes();
    const auto shown = std::find_if(themes.begin(), themes.end(), [&](const ThemeInfo& t) { return t.theme == style.theme; });
    m_ui->IDC_VIEW_THEME->setCurrentIndex(static_cast<int>(shown - themes.begin()));
    m_swapEyesAction->setChecked(style.swapEyes);
    m_swapEyesAction->setEnabled(style.anaglyph);
}

void CViewOptionsGroup::OnViewOption()
{
    FrameStyle style;
    style.hiddenLines = m_ui->IDC_VIEW_HIDDEN->isChecked();
    style.depthCue = m_ui->IDC_VIEW_DEPTH_CUE->isChecked();
    style.anaglyph = m_ui->IDC_VIEW_ANAGLYPH->isChecked();
    style.swapEyes = style.anaglyph && m_swapEyesAction->isChecked();
    style.parallel = m_ui->IDC_VIEW_PARALLEL->isChecked();
    style.lineWidth = m_ui->IDC_VIEW_LINE_WIDTH->value();
    style.theme = Themes()[static_cast<size_t>(std::max(0, m_ui->IDC_VIEW_THEME->currentIndex()))].theme;
    style.axes = m_ui->IDC_VIEW_AXES->isChecked();
    style.ticks = m_ui->IDC_VIEW_TICKS->isChecked();
    m_swapEyesAction->setEnabled(style.anaglyph);
    m_ui->IDC_SCROLL_DISTANCE->setToolTip(
        QString::fromUtf8(style.parallel ? kDistanceParallelToolTip : kDistanceToolTip));
    // The same camera drawn anew: a style changes no view, so no camera step is made.
    if (m_session.SetStyle(style) && m_session.HasFrame())
        m_redraw();
}
