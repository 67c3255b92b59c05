// The main window's handlers: Qt's events and signals hand over to them in one line each.
#include "ui/viewer_dlg.h"

#include <utility>

#include <QAction>
#include <QContextMenuEvent>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QString>

#ifdef Q_OS_WIN
#include <string>

#include <qt_windows.h>
#endif

#include "render/frame.h"
#include "ui/about_dlg.h"
#include "ui/dialog_template.h"
#include "ui/instructions_dlg.h"
#include "ui/resource.h"
#include "ui_viewer_dlg.h"

namespace {

IntPoint ToIntPoint(QPoint p)
{
    return {p.x(), p.y()};
}

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

    const std::pair<QRadioButton*, SurfaceKind> surfaceButtons[] = {
        {m_ui->IDC_SURFACE_MOEBIUS, kMoebius},           {m_ui->IDC_SURFACE_SADDLE, kSaddle},
        {m_ui->IDC_SURFACE_SPHERE, kSphere},             {m_ui->IDC_SURFACE_SINE, kSine},
        {m_ui->IDC_SURFACE_TORUS, kTorus},               {m_ui->IDC_SURFACE_PSEUDOSPHERE, kPseudosphere},
        {m_ui->IDC_SURFACE_SPIRAL, kSpiralStair},        {m_ui->IDC_SURFACE_LEONARDO, kLeonardoStair},
    };
    for (const auto& [button, kind] : surfaceButtons)
        connect(button, &QAbstractButton::clicked, this, [this, kind = kind] { OnSurfaceButton(kind); });

    connect(m_ui->IDC_ABOUT_BUTTON, &QAbstractButton::clicked, this, &CViewerDlg::OnAboutButton);
    connect(m_ui->IDC_INSTRUCTIONS_BUTTON, &QAbstractButton::clicked, this, &CViewerDlg::OnInstructionsButton);
    connect(m_ui->IDCANCEL, &QAbstractButton::clicked, this, &QDialog::reject);

    // The group box and the static text let the mouse through to the dialog's own surface, as
    // their window-system counterparts do, so a drag may start on them.
    m_ui->IDC_GROUP_SURFACE->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_ui->IDC_STATIC_BARS->setAttribute(Qt::WA_TransparentForMouseEvents);

    OnInitDialog();
}

CViewerDlg::~CViewerDlg() = default;

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
    m_canvas.Clear(kBackgroundBlack);
    DrawFrame(m_view, m_canvas);
    m_hasFrame = true;
    ++m_framesRendered;
    repaint(kFrameRect);   // the finished square reaches the window before the handler returns
}

void CViewerDlg::OnPaint()
{
    if (!m_hasFrame)
        return;
    QPainter painter(this);
    painter.drawImage(kFrameOrigin, m_frame);   // the kept frame: an expose never traces again
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
