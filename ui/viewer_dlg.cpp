// The main window's handlers: Qt's events and signals hand over to them in one line each.
#include "ui/viewer_dlg.h"

#include <algorithm>
#include <utility>

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>

#include "render/frame.h"
#include "ui/about_dlg.h"
#include "ui/dialog_template.h"
#include "ui/frame_square.h"
#include "ui/help_dlg.h"
#include "ui/instructions_dlg.h"
#include "ui/presentation.h"
#include "ui/resource.h"
#include "ui_viewer_dlg.h"

namespace {

IntPoint ToIntPoint(QPoint p)
{
    return {p.x(), p.y()};
}

const char kSquareToolTip[] =
    "Arrastrar con el botón izquierdo: girar la superficie\n"
    "Rueda del ratón: ampliar o encoger, como las flechas de Z\n"
    "Flechas (con el cuadro seleccionado) o Ctrl+flechas: girar\n"
    "Espacio (con el cuadro seleccionado) o Ctrl+Espacio: girar sin parar o detenerse\n"
    "+ y −: ampliar y encoger, como las flechas de Z\n"
    "Re Pág y Av Pág: acercar y alejar el ojo, como las flechas de P\n"
    "Inicio: la vista inicial de la superficie\n"
    "F1: ayuda\n"
    "Ctrl+S: guardar imagen\n"
    "Ctrl+C: copiar imagen\n"
    "O: ocultar líneas traseras; C: color por profundidad; A: anaglifo;\n"
    "I: intercambiar ojos; P: proyección paralela; G y Mayús+G: grosor;\n"
    "E: ejes; T: tema (Pantalla, Papel, Proyector)\n"
    "F11: pantalla completa y vuelta (también Esc); el cuadro crece con la ventana\n"
    "H: solo el cuadro y «Parámetros», para proyectar, y vuelta";

}   // namespace

CViewerDlg::CViewerDlg(SurfaceRegistry& surfaces, QWidget* parent) : CViewerDlg(nullptr, &surfaces, parent) {}

CViewerDlg::CViewerDlg(QWidget* parent) : CViewerDlg(std::make_unique<SurfaceRegistry>(), nullptr, parent) {}

CViewerDlg::CViewerDlg(std::unique_ptr<SurfaceRegistry> owned, SurfaceRegistry* surfaces, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CViewerDlg>()), m_hIcon(ApplicationIcon()),
      m_ownedSurfaces(std::move(owned)), m_surfaces(surfaces ? *surfaces : *m_ownedSurfaces),
      m_frame(reinterpret_cast<const uchar*>(m_canvas.Bits()), kCanvasSide, kCanvasSide,
              RasterCanvas::kBytesPerLine, QImage::Format_RGB32)
{
    m_ui->setupUi(this);
    ApplyDialogTemplate(*this, true);
    m_presentation = new CPresentation(*this, [this] { LayOut(); });   // the template's places, kept
    for (QScrollBar* bar : {m_ui->IDC_SCROLL_DISTANCE, m_ui->IDC_SCROLL_ZOOM}) {
        bar->installEventFilter(this);
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar](int action) { OnSliderAction(*bar, action); });
        connect(bar, &QAbstractSlider::sliderReleased, this,
                [this, bar] { OnVScroll(BarStep::ThumbPosition, bar->sliderPosition(), *bar); });
    }

    ConnectSurfaceButtons();
    m_otherSurfaces = std::make_unique<COtherSurfaceGroup>(*this, *m_ui, m_session);

    connect(m_ui->IDC_ABOUT_BUTTON, &QAbstractButton::clicked, this, &CViewerDlg::OnAboutButton);
    connect(m_ui->IDC_INSTRUCTIONS_BUTTON, &QAbstractButton::clicked, this, &CViewerDlg::OnInstructionsButton);
    connect(m_ui->IDCANCEL, &QAbstractButton::clicked, this, &QDialog::reject);

    // The group box and the static text let the mouse through to the dialog's own surface, as
    // their window-system counterparts do, so a drag may start on them.
    m_ui->IDC_GROUP_SURFACE->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_ui->IDC_STATIC_BARS->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_ui->IDC_GROUP_VIEW->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_square = new CFrameSquare(this);
    m_square->setObjectName(QStringLiteral("IDC_FRAME_SQUARE"));
    m_square->setFocusPolicy(Qt::StrongFocus);   // after "Instrucciones" in the tab order
    m_square->setToolTip(QString::fromUtf8(kSquareToolTip));
    connect(m_square, &CFrameSquare::arrowStep, this, [this](QPoint travel) { m_session.OrbitKey(ToIntPoint(travel)); });
    connect(m_square, &CFrameSquare::wheelTurned, this, [this](int delta) { m_session.Wheel(delta); });

    m_ui->IDC_VIEW_FRAME->setToolTip(QString::fromUtf8("Aumento con el que la superficie llena el cuadrado (tecla F)"));
    connect(m_ui->IDC_VIEW_FRAME, &QPushButton::clicked, this, [this] { m_session.FrameToFit(); });
    m_turntable = std::make_unique<CTurntableSwitch>(*this, *m_ui->IDC_VIEW_TURN, *m_square, m_session);
    m_files = std::make_unique<CFrameFiles>(*this, m_session, *m_turntable);
    AddActions();
    AddKeys();
    m_viewOptions = std::make_unique<CViewOptionsGroup>(*this, *m_ui, m_session, [this] { Redraw(); });
    m_parameters = std::make_unique<CParameterGroup>(*this, m_session);
    m_files->SetParameterGroup(m_parameters.get());
    m_links = std::make_unique<CSceneLinks>(*this, m_session, [this](const Scene& scene, FormulaProblem& problem) {
        if (!m_otherSurfaces->OpenScene(scene, problem))
            return false;
        m_viewOptions->ShowStyle();
        m_turnAxisAction->setChecked(m_session.GetTurnAxis() == TurnAxis::Z);
        return true;
    });
    m_links->CopyAction()->setEnabled(m_session.HasFrame());
    m_section = std::make_unique<CSectionControl>(*this, m_session, [this] { Redraw(); }, [this] { LayOut(); });
    LayOut();
    setWindowIcon(m_hIcon);   // big and small icon alike
}

void CViewerDlg::LayOut()
{
    m_presentation->Apply();
    const bool presenting = m_presentation->IsPresenting();
    m_layout = LayOutWindow(size(), m_presentation->Scale(), presenting);
    const QRect& square = m_layout.square;
    m_square->setGeometry(square.adjusted(-kSquareFocusMargin, -kSquareFocusMargin, kSquareFocusMargin, kSquareFocusMargin));
    m_ui->IDC_SCROLL_ZOOM->setGeometry(m_layout.zoomBar);
    m_ui->IDC_SCROLL_DISTANCE->setGeometry(m_layout.distanceBar);
    m_ui->IDC_STATIC_BARS->setGeometry(m_layout.barLabels);
    const bool section = m_section && m_section->IsShown();
    if (m_section)
        m_section->SetGeometry(m_layout.section, !presenting);
    if (m_parameters)
        m_parameters->SetGeometry(section && !presenting ? m_layout.parametersUnderSection : m_layout.parameters,
                                  m_presentation->Scale());
    if (m_session.SquareSide() != square.width()) {
        m_session.SetSquareSide(square.width());
        m_pictureStale = true;   // drawn anew at the new side, never scaled
        if (square.width() == kCanvasSide) {   // the larger picture's memory given back
            m_largeFrame = QImage();
            std::vector<std::uint32_t>().swap(m_largePixels);
        }
    }
    update();
}

void CViewerDlg::AddActions()
{
    m_saveAction = new QAction(QString::fromUtf8("&Guardar imagen…"), this);
    m_saveAction->setShortcut(QKeySequence::Save);
    m_copyAction = new QAction(QString::fromUtf8("&Copiar imagen"), this);
    m_copyAction->setShortcut(QKeySequence::Copy);
    for (QAction* action : {m_saveAction, m_copyAction}) {
        action->setShortcutVisibleInContextMenu(true);
        action->setEnabled(false);   // the square is empty until the first frame
        addAction(action);
    }
    connect(m_saveAction, &QAction::triggered, this, [this] { m_files->AskAndSaveFrame(); });
    connect(m_copyAction, &QAction::triggered, this, &CViewerDlg::OnCopyImage);
    m_saveAnimationAction = new QAction(QString::fromUtf8("Guardar &animación…"), this);
    m_saveAnimationAction->setEnabled(false);   // the square is empty until the first frame
    connect(m_saveAnimationAction, &QAction::triggered, this, [this] { m_files->AskAndSaveAnimation(); });
    m_turnAxisAction = new QAction(QString::fromUtf8("Girar sobre el eje &z"), this);
    m_turnAxisAction->setObjectName(QStringLiteral("IDM_TURN_AXIS_Z"));
    m_turnAxisAction->setCheckable(true);
    connect(m_turnAxisAction, &QAction::toggled, this,
            [this](bool z) { m_session.SetTurnAxis(z ? TurnAxis::Z : TurnAxis::Screen); });
}

CViewerDlg::~CViewerDlg() = default;

void CViewerDlg::AddKeys()
{
    // Dialog-wide shortcuts come before the focused control sees the key, so a button that moves
    // the focus with the arrows never takes Ctrl+arrows; plain arrows stay the controls' own.
    auto addKey = [this](QKeySequence key, auto handler) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, handler);
    };
    for (int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down})
        addKey(QKeySequence(Qt::ControlModifier | Qt::Key(key)),
               [this, key] { m_session.OrbitKey(ToIntPoint(*ArrowTravel(key))); });
    for (QKeySequence key : {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::KeypadModifier | Qt::Key_Plus),
                             QKeySequence(QKeySequence::ZoomIn)})
        addKey(key, [this] { m_session.ScrollKey(ViewBar::Zoom, BarStep::LineUp); });
    for (QKeySequence key : {QKeySequence(Qt::Key_Minus), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus),
                             QKeySequence(QKeySequence::ZoomOut)})
        addKey(key, [this] { m_session.ScrollKey(ViewBar::Zoom, BarStep::LineDown); });
    addKey(QKeySequence(Qt::Key_PageUp), [this] { m_session.ScrollKey(ViewBar::Distance, BarStep::LineUp); });   // nearer
    addKey(QKeySequence(Qt::Key_PageDown), [this] { m_session.ScrollKey(ViewBar::Distance, BarStep::LineDown); });
    addKey(QKeySequence(Qt::Key_Home), [this] { m_session.ResetKey(); });
    addKey(QKeySequence(Qt::Key_F), [this] { m_session.FrameToFit(); });   // "Encuadrar"
    addKey(QKeySequence(QKeySequence::HelpContents), [this] {   // the whole help; "Instrucciones" keeps the short one
        CHelpDlg help(this);
        help.exec();
    });
}

void CViewerDlg::ConnectSurfaceButtons()
{
    // The surface buttons stand in a column in the order of the registry's numbers: the n-th from
    // the top draws surface n, under the registry's caption.
    QList<QRadioButton*> buttons;
    for (QRadioButton* button : findChildren<QRadioButton*>())
        if (button->objectName().startsWith(QStringLiteral("IDC_SURFACE_")))
            buttons.append(button);
    std::sort(buttons.begin(), buttons.end(), [](QRadioButton* a, QRadioButton* b) { return a->y() < b->y(); });
    for (int i = 0; i < buttons.size(); ++i) {
        const SurfaceEntry* entry = m_surfaces.Find(i + 1);
        if (!entry)
            break;
        buttons[i]->setText(QString::fromStdString(entry->caption));
        connect(buttons[i], &QAbstractButton::clicked, this,
                [this, kind = entry->number] { m_session.ChooseSurface(kind); });
    }
}

void CViewerDlg::RenderScene()
{
    m_session.NextFrame();
}

void CViewerDlg::OnFrame()
{
    // Only the drawing waits for the paint, so a burst of events draws only the last view.
    ShowBars();
    const bool hasFrame = m_session.HasFrame();
    m_saveAction->setEnabled(hasFrame);
    m_copyAction->setEnabled(hasFrame);
    m_saveAnimationAction->setEnabled(hasFrame);
    if (m_links)
        m_links->CopyAction()->setEnabled(hasFrame);
    if (m_parameters)
        m_parameters->Show();
    if (m_section)
        m_section->Refresh();   // another surface takes the plane through its middle
    Redraw();
}

void CViewerDlg::Redraw()
{
    m_pictureStale = true;
    update(m_layout.square);
}

void CViewerDlg::OnCopyImage()
{
    if (m_session.HasFrame())
        QGuiApplication::clipboard()->setImage(Picture().copy());   // a copy: m_frame shares the picture
}

const QImage& CViewerDlg::Picture()
{
    const int side = m_layout.square.width();
    if (m_pictureStale) {
        if (side == kCanvasSide) {
            DrawShownFrame(m_session.FrameCamera(), m_session.FrameWireframe(), m_session.Style(), m_canvas);
        } else {
            DrawShownFrame(m_session.FrameCamera(), m_session.FrameWireframe(), m_session.Style(), side, m_largePixels);
            m_largeFrame = QImage(reinterpret_cast<const uchar*>(m_largePixels.data()), side, side,
                                  side * static_cast<int>(sizeof(std::uint32_t)), QImage::Format_RGB32);
        }
        m_pictureStale = false;
        ++m_picturesDrawn;
    }
    return side == kCanvasSide ? m_frame : m_largeFrame;
}

void CViewerDlg::OnPaint()
{
    if (!m_session.HasFrame())
        return;
    QPainter painter(this);
    // The kept frame: an expose never traces again. Into the square's logical pixels, each
    // picture pixel a block of device pixels, so lines stay sharp on a screen of any pixel ratio.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(m_layout.square, Picture());
}

bool CViewerDlg::OnSysCommand(unsigned id)
{
    if ((id & 0xFFF0u) != IDM_ABOUTBOX)
        return false;
    CAboutDlg dlg(this);
    dlg.exec();
    return true;
}

void CViewerDlg::AddWindowMenuItems(QMenu& menu)
{
    menu.addAction(m_saveAction);
    menu.addAction(m_copyAction);
    menu.addAction(m_saveAnimationAction);
    menu.addAction(m_links->CopyAction());
    menu.addAction(m_links->OpenAction());
    menu.addAction(m_viewOptions->SwapEyesAction());
    menu.addAction(m_turnAxisAction);
    menu.addMenu(m_section->Menu());
    menu.addSeparator();
    QAction* about = menu.addAction(QString::fromUtf8(kAboutMenuText));
    connect(about, &QAction::triggered, this, [this] { OnSysCommand(IDM_ABOUTBOX); });
}

void CViewerDlg::OnSliderAction(QScrollBar& bar, int action)
{
    if (const std::optional<BarStep> step = BarStepForAction(action))
        OnVScroll(*step, bar.sliderPosition(), bar);
}

void CViewerDlg::OnVScroll(BarStep step, int position, QScrollBar& bar)
{
    m_session.Scroll(&bar == m_ui->IDC_SCROLL_ZOOM ? ViewBar::Zoom : ViewBar::Distance, step, position);
    ShowBars();   // also when the step changed nothing: Qt has moved the thumb already
}

void CViewerDlg::ShowBars()
{
    ShowBar(*m_ui->IDC_SCROLL_DISTANCE, m_session.Bar(ViewBar::Distance));
    ShowBar(*m_ui->IDC_SCROLL_ZOOM, m_session.Bar(ViewBar::Zoom));
}

void CViewerDlg::OnAboutButton()
{
    CAboutDlg dlg(this);
    dlg.exec();
}

void CViewerDlg::OnInstructionsButton()
{
    CInstructionsDlg dlg(this);
    dlg.exec();
}

void CViewerDlg::paintEvent(QPaintEvent*)
{
    OnPaint();
}

void CViewerDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayOut();
}

void CViewerDlg::keyPressEvent(QKeyEvent* event)
{
    // Esc leaves full screen first, as F11 does; at the window's own size it closes, as ever.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && isFullScreen()) {
        showNormal();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CViewerDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_session.PressButton(ToIntPoint(event->globalPosition().toPoint()));   // screen coordinates
    else
        QDialog::mousePressEvent(event);
}

void CViewerDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_session.ReleaseButton();
    else
        QDialog::mouseReleaseEvent(event);
}

void CViewerDlg::mouseMoveEvent(QMouseEvent* event)
{
    m_session.MoveCursor(ToIntPoint(event->globalPosition().toPoint()));
}

void CViewerDlg::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    AddWindowMenuItems(menu);
    menu.exec(event->globalPos());
}

bool CViewerDlg::eventFilter(QObject* watched, QEvent* event)
{
    // A bar control takes no wheel: Qt would move the thumb without a scroll message.
    if (event->type() == QEvent::Wheel && (watched == m_ui->IDC_SCROLL_ZOOM || watched == m_ui->IDC_SCROLL_DISTANCE))
        return true;
    return QDialog::eventFilter(watched, event);
}
