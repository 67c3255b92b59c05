// The main window: eight surface buttons, the "Z" and "P" bars, and the square where frames appear.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include "geometry/view_state.h"
#include "render/frame_style.h"
#include "render/raster_canvas.h"
#include "session/view_session.h"
#include "surfaces/registry.h"
#include "ui/frame_files.h"
#include "ui/other_surface_group.h"
#include "ui/scroll_bar.h"
#include "ui/parameter_group.h"
#include "ui/scene_links.h"
#include "ui/section_control.h"
#include "ui/turntable_switch.h"
#include "ui/view_options_group.h"
#include "ui/window_layout.h"

class CFrameSquare;
class CPresentation;
class QAction;
class QMenu;
class QScrollBar;
namespace Ui {
class CViewerDlg;
}

class CViewerDlg : public QDialog {
    Q_OBJECT

public:
    // The window on the program's surfaces, which its main made.
    explicit CViewerDlg(SurfaceRegistry& surfaces, QWidget* parent = nullptr);
    // The window on surfaces of its own, as a fresh program would have them.
    explicit CViewerDlg(QWidget* parent = nullptr);
    ~CViewerDlg() override;

    SurfaceRegistry& Surfaces() const { return m_surfaces; }
    const ViewState& View() const { return m_session.View(); }
    const DragState& Drag() const { return m_session.Drag(); }
    int FramesRendered() const { return m_session.FramesRendered(); }   // camera steps so far
    int PicturesDrawn() const { return m_picturesDrawn; }     // frames actually drawn for the screen
    const FrameStyle& Style() const { return m_session.Style(); }       // how the shown frame is drawn
    // Where the picture stands: kFrameRect at the window's first size, larger in a larger window.
    QRect SquareRect() const { return m_layout.square; }

    // The camera step of a new frame, now; its picture is drawn off screen when the window next
    // paints, so a burst of events draws only the last view. The last picture is kept and shown
    // again whenever the window is exposed.
    void RenderScene();

    // A window-menu command: the About box for IDM_ABOUTBOX and its fifteen neighbours. False for
    // every other command, which the window system handles.
    bool OnSysCommand(unsigned id);

    // The commands of the window menu, as a context menu where the platform has no system menu.
    void AddWindowMenuItems(QMenu& menu);

    // Writes the shown frame to path, as SVG for a name ending in ".svg", else as PNG: the bytes
    // vexilon-render writes for the same view, drawn from the shown frame's camera. A failure is
    // shown in a message box naming the file and the reason, and leaves no file behind.
    bool SaveFrame(const QString& path, int size = kCanvasSide) { return m_files->SaveFrame(path, size); }

    // The turntable: the eye turning slowly about the picture's vertical, one frame a tick.
    bool IsTurning() const { return m_turntable->IsTurning(); }
    void SetTurning(bool on) { m_turntable->SetTurning(on); }   // no surface, no turn; "Girar" follows
    // Writes a GIF of one full turn of the shown frame's view to path, the frames vexilon-render
    // --turn writes for it, with a progress dialog; on cancel or failure nothing is left, and a
    // failure is shown in a message box.
    bool SaveAnimation(const QString& path) { return m_files->SaveAnimation(path); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CViewerDlg(std::unique_ptr<SurfaceRegistry> owned, SurfaceRegistry* surfaces, QWidget* parent);
    void OnFrame();                         // the session made a camera step: paint it soon
    void OnPaint();
    void OnVScroll(BarStep step, int position, QScrollBar& bar);   // the "Z" or the "P" bar
    void OnSliderAction(QScrollBar& bar, int action);
    void ShowBars();                        // both bars as the session's view sets them
    void OnAboutButton();
    void OnInstructionsButton();
    void OnCopyImage();
    void Redraw();                          // the shown camera drawn again, in a new style
    void AddKeys();
    void AddActions();
    void ConnectSurfaceButtons();
    void LayOut();                          // the square and what stands right of it, for the size
    const QImage& Picture();                // the shown frame's picture, drawn if it is not yet

    std::unique_ptr<Ui::CViewerDlg> m_ui;
    QIcon        m_hIcon;                   // the application icon
    std::unique_ptr<SurfaceRegistry> m_ownedSurfaces;   // when no registry was handed in
    SurfaceRegistry& m_surfaces;
    ViewSession  m_session{m_surfaces, [this] { OnFrame(); }};
    RasterCanvas m_canvas;                  // the frame's 500 x 502 picture, drawn off screen
    QImage       m_frame;                   // the top 500 rows of m_canvas, shared, not copied
    std::vector<std::uint32_t> m_largePixels;   // the picture of a larger square, drawn as a figure
    QImage       m_largeFrame;              // m_largePixels, shared, not copied
    WindowLayout m_layout = LayOutWindow(kWindowSize);
    bool         m_pictureStale = false;    // m_canvas is older than the session's frame
    int          m_picturesDrawn = 0;
    CFrameSquare* m_square = nullptr;       // over the picture: focus, arrow keys, the tooltip
    QAction*     m_saveAction = nullptr;    // "Guardar imagen…", Ctrl+S
    QAction*     m_copyAction = nullptr;    // "Copiar imagen", Ctrl+C
    QAction*     m_saveAnimationAction = nullptr;   // "Guardar animación…"
    std::unique_ptr<CTurntableSwitch>   m_turntable;       // "Girar", Space and the timer
    std::unique_ptr<CFrameFiles>        m_files;           // saving the picture and a turn of it
    std::unique_ptr<CViewOptionsGroup>  m_viewOptions;     // the "Vista" group
    std::unique_ptr<COtherSurfaceGroup> m_otherSurfaces;   // "Otra:", its list and "Definir…"
    std::unique_ptr<CSectionControl>    m_section;         // "Corte": its menu and slider
    std::unique_ptr<CParameterGroup>    m_parameters;      // "Parámetros": sliders and "Animar"
    QAction*     m_turnAxisAction = nullptr;        // "Girar sobre el eje z", checkable
    std::unique_ptr<CSceneLinks>        m_links;           // "Copiar enlace", "Abrir enlace…"
    CPresentation* m_presentation = nullptr;   // full screen's text and the key H; the window's child
};
