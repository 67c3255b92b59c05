// The main window's handlers: Qt's events and signals hand over to them in one line each.
#include "ui/viewer_dlg.h"

#include <algorithm>
#include <utility>

#include <QAction>
#include <QContextMenuEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>

#ifdef Q_OS_WIN
#include <string>

#include <qt_windows.h>
#endif

#include "render/frame.h"
#include "ui/about_dlg.h"
#include "ui/dialog_template.h"
#include "ui/frame_square.h"
#include "ui/instructions_dlg.h"
#include "ui/own_surfaces.h"
#include "ui/resource.h"
#include "ui_viewer_dlg.h"

namespace {

IntPoint ToIntPoint(QPoint p)
{
    return {p.x(), p.y()};
}

constexpr int kWheelNotch = 120;   // angleDelta of one notch: one step of the "Z" arrows

const char kSquareToolTip[] =
    "Arrastrar con el botón izquierdo: girar la superficie\n"
    "Rueda del ratón: ampliar o encoger, como las flechas de Z\n"
    "Flechas (con el cuadro seleccionado) o Ctrl+flechas: girar\n"
    "Espacio (con el cuadro seleccionado) o Ctrl+Espacio: girar sin parar o detenerse\n"
    "+ y −: ampliar y encoger, como las flechas de Z\n"
    "Re Pág y Av Pág: acercar y alejar el ojo, como las flechas de P\n"
    "Inicio: la vista inicial de la superficie\n"
    "F1: instrucciones\n"
    "Ctrl+S: guardar imagen\n"
    "Ctrl+C: copiar imagen\n"
    "O: ocultar líneas traseras; C: color por profundidad; A: anaglifo;\n"
    "I: intercambiar ojos; P: proyección paralela; G y Mayús+G: grosor";

}   // namespace

CViewerDlg::CViewerDlg(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CViewerDlg>()), m_hIcon(ApplicationIcon()),
      m_frame(reinterpret_cast<const uchar*>(m_canvas.Bits()), kCanvasSide, kCanvasSide,
              RasterCanvas::kBytesPerLine, QImage::Format_RGB32)
{
    m_ui->setupUi(this);
    ApplyDialogTemplate(*this, true);
    m_scrollDistance.Attach(m_ui->IDC_SCROLL_DISTANCE);
    m_scrollZoom.Attach(m_ui->IDC_SCROLL_ZOOM);

    for (CScrollBar* bar : {&m_scrollDistance, &m_scrollZoom}) {
        bar->Bar()->installEventFilter(this);
        connect(bar->Bar(), &QAbstractSlider::actionTriggered, this,
                [this, bar](int action) { OnSliderAction(*bar, action); });
        connect(bar->Bar(), &QAbstractSlider::sliderReleased, this, [this, bar] {
            bar->BeginAction();
            OnVScroll(SB_THUMBPOSITION, bar->Bar()->sliderPosition(), *bar);
            bar->EndAction();
        });
    }

    ConnectSurfaceButtons();
    ConnectOwnSurfaces();

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
    m_square->setGeometry(
        kFrameRect.adjusted(-kSquareFocusMargin, -kSquareFocusMargin, kSquareFocusMargin, kSquareFocusMargin));
    m_square->setFocusPolicy(Qt::StrongFocus);   // after "Instrucciones" in the tab order
    m_square->setToolTip(QString::fromUtf8(kSquareToolTip));
    connect(m_square, &CFrameSquare::arrowStep, this, &CViewerDlg::OnOrbitKey);
    connect(m_square, &CFrameSquare::wheelTurned, this, &CViewerDlg::OnMouseWheel);

    m_saveAction = new QAction(QString::fromUtf8("&Guardar imagen…"), this);
    m_saveAction->setShortcut(QKeySequence::Save);
    m_copyAction = new QAction(QString::fromUtf8("&Copiar imagen"), this);
    m_copyAction->setShortcut(QKeySequence::Copy);
    for (QAction* action : {m_saveAction, m_copyAction}) {
        action->setShortcutVisibleInContextMenu(true);
        action->setEnabled(false);   // the square is empty until the first frame
        addAction(action);
    }
    connect(m_saveAction, &QAction::triggered, this, &CViewerDlg::OnSaveImage);
    connect(m_copyAction, &QAction::triggered, this, &CViewerDlg::OnCopyImage);
    AddKeys();
    AddMotion();
    ConnectViewOptions();

    OnInitDialog();
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
        addKey(QKeySequence(Qt::ControlModifier | Qt::Key(key)), [this, key] { OnOrbitKey(*ArrowTravel(key)); });
    for (QKeySequence key : {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::KeypadModifier | Qt::Key_Plus),
                             QKeySequence(QKeySequence::ZoomIn)})
        addKey(key, [this] { OnScrollKey(m_scrollZoom, SB_LINEUP); });
    for (QKeySequence key : {QKeySequence(Qt::Key_Minus), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus),
                             QKeySequence(QKeySequence::ZoomOut)})
        addKey(key, [this] { OnScrollKey(m_scrollZoom, SB_LINEDOWN); });
    addKey(QKeySequence(Qt::Key_PageUp), [this] { OnScrollKey(m_scrollDistance, SB_LINEUP); });   // nearer
    addKey(QKeySequence(Qt::Key_PageDown), [this] { OnScrollKey(m_scrollDistance, SB_LINEDOWN); });
    addKey(QKeySequence(Qt::Key_Home), [this] { OnResetKey(); });
    addKey(QKeySequence(QKeySequence::HelpContents), [this] { OnInstructionsButton(); });
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
        const SurfaceEntry* entry = Surfaces().Find(i + 1);
        if (!entry)
            break;
        buttons[i]->setText(QString::fromStdString(entry->caption));
        connect(buttons[i], &QAbstractButton::clicked, this, [this, kind = entry->number] { OnSurfaceButton(kind); });
    }
}

void CViewerDlg::OnInitDialog()
{
#ifdef Q_OS_WIN
    // String 101 appended to the system menu, after a separator; without the menu or the string,
    // the window works the same.
    if (HMENU systemMenu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE)) {
        const wchar_t* text = nullptr;   // points into the string table, not terminated
        const int length =
            LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, reinterpret_cast<LPWSTR>(&text), 0);
        if (length > 0) {
            const std::wstring item(text, static_cast<size_t>(length));
            AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, item.c_str());
        }
    }
#endif
    setWindowIcon(m_hIcon);   // big and small icon alike
}

void CViewerDlg::RenderScene()
{
    // The camera step belongs to every event, so the view after any sequence stays the same to
    // the bit; only the drawing waits for the paint.
    m_frameSurface = m_view.surface;
    m_camera = BeginFrame(m_view, WireframeOf(m_frameSurface));
    m_hasFrame = true;
    m_pictureStale = true;
    m_saveAction->setEnabled(true);
    m_copyAction->setEnabled(true);
    m_saveAnimationAction->setEnabled(true);
    ++m_framesRendered;
    update(kFrameRect);
}

const QImage& CViewerDlg::Picture()
{
    if (m_pictureStale) {
        DrawFrame(m_camera, WireframeOf(m_frameSurface), m_style, m_canvas);
        m_pictureStale = false;
        ++m_picturesDrawn;
    }
    return m_frame;
}

void CViewerDlg::OnPaint()
{
    if (!m_hasFrame)
        return;
    QPainter painter(this);
    // The kept frame: an expose never traces again. Into 500 x 500 logical pixels, each picture
    // pixel a block of device pixels, so lines stay sharp on a screen of any pixel ratio.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(kFrameRect, Picture());
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
    menu.addAction(m_swapEyesAction);
    menu.addSeparator();
    QAction* about = menu.addAction(QString::fromUtf8(kAboutMenuText));
    connect(about, &QAction::triggered, this, [this] { OnSysCommand(IDM_ABOUTBOX); });
}

void CViewerDlg::OnLButtonDown(QPoint cursor)
{
    m_controls.OnLButtonDown(ToIntPoint(cursor));
}

void CViewerDlg::OnLButtonUp()
{
    m_controls.OnLButtonUp();
}

void CViewerDlg::OnMouseMove(QPoint cursor)
{
    m_controls.OnMouseMove(ToIntPoint(cursor));
}

void CViewerDlg::OnSliderAction(CScrollBar& bar, int action)
{
    const std::optional<int> code = ScrollCodeForAction(action);
    if (!code)
        return;
    bar.BeginAction();
    OnVScroll(*code, bar.Bar()->sliderPosition(), bar);
    bar.EndAction();
}

void CViewerDlg::OnVScroll(int code, int position, CScrollBar& bar)
{
    const int barId = &bar == &m_scrollZoom ? IDC_SCROLL_ZOOM : IDC_SCROLL_DISTANCE;
    m_controls.OnVScroll(code, position, barId);
}

void CViewerDlg::OnSurfaceButton(SurfaceKind kind)
{
    m_controls.ResetView();
    m_view.surface = kind;
    RenderScene();
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

void CViewerDlg::OnMouseWheel(int delta)
{
    if (!HasSurface())
        return;   // before the first surface the "Z" bar is empty and takes no step either
    m_wheelDelta += delta;
    // Fine-grained wheels send fractions of a notch: a step for every whole notch gathered.
    while (m_wheelDelta >= kWheelNotch) {
        m_wheelDelta -= kWheelNotch;
        OnScrollKey(m_scrollZoom, SB_LINEUP);
    }
    while (m_wheelDelta <= -kWheelNotch) {
        m_wheelDelta += kWheelNotch;
        OnScrollKey(m_scrollZoom, SB_LINEDOWN);
    }
}

void CViewerDlg::OnOrbitKey(QPoint travel)
{
    if (HasSurface())
        m_controls.OrbitStep(ToIntPoint(travel));
}

void CViewerDlg::OnScrollKey(CScrollBar& bar, int code)
{
    if (!HasSurface())
        return;
    bar.BeginAction();
    OnVScroll(code, bar.Bar()->sliderPosition(), bar);
    bar.EndAction();
}

void CViewerDlg::OnResetKey()
{
    if (HasSurface())
        OnSurfaceButton(m_view.surface);
}

void CViewerDlg::paintEvent(QPaintEvent*)
{
    OnPaint();
}

void CViewerDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event->globalPosition().toPoint());   // our GetCursorPos: screen coordinates
    else
        QDialog::mousePressEvent(event);
}

void CViewerDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonUp();
    else
        QDialog::mouseReleaseEvent(event);
}

void CViewerDlg::mouseMoveEvent(QMouseEvent* event)
{
    OnMouseMove(event->globalPosition().toPoint());
}

void CViewerDlg::contextMenuEvent(QContextMenuEvent* event)
{
#ifdef Q_OS_WIN
    QDialog::contextMenuEvent(event);   // the system menu holds the window's commands
#else
    QMenu menu(this);
    AddWindowMenuItems(menu);
    menu.exec(event->globalPos());
#endif
}

bool CViewerDlg::eventFilter(QObject* watched, QEvent* event)
{
    // A bar control takes no wheel: Qt would move the thumb without a scroll message.
    if (event->type() == QEvent::Wheel && (watched == m_scrollZoom.Bar() || watched == m_scrollDistance.Bar()))
        return true;
    return QDialog::eventFilter(watched, event);
}

#ifdef Q_OS_WIN
bool CViewerDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    const MSG* msg = static_cast<const MSG*>(message);
    if (eventType == "windows_generic_MSG" && msg->message == WM_SYSCOMMAND &&
        (static_cast<unsigned>(msg->wParam) & 0xFFF0u) == IDM_ABOUTBOX) {
        // Run the About box after the window system's message has returned, not inside it.
        const unsigned id = static_cast<unsigned>(msg->wParam);
        QMetaObject::invokeMethod(this, [this, id] { OnSysCommand(id); }, Qt::QueuedConnection);
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#endif
