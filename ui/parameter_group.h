// The window's "Parámetros" group beside the square, under the bars: a vertical slider per
// parameter of the shown surface (in rows of three as the group grows, scrolled sideways when more
// remain), the value of the last one moved, and "Animar", which sweeps that parameter back and
// forth until it is pressed again.
#pragma once

#include <string>
#include <vector>

#include <QObject>

#include "session/sweep_choice.h"
#include "session/view_session.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QRect;
class QScrollArea;
class QSlider;
class QTimer;
class QWidget;

class CParameterGroup : public QObject {
public:
    CParameterGroup(QWidget& window, ViewSession& session);

    void Show();   // after a frame: the sliders rebuilt when another surface is shown
    // The group's place, which the window gives it for its size; the sliders fill what the value
    // and "Animar" leave; scale: the controls' size against the template's (full screen's larger text).
    void SetGeometry(const QRect& rect, double scale = 1);
    // The parameters the sliders stand for, in their order; empty while the group is hidden.
    std::vector<std::string> Names() const;
    // The parameter "Animar" is sweeping; empty when it is off.
    std::string Sweeping() const;
    bool Pause();  // the sweep's timer stopped, "Animar" left as it is; whether it ran
    void Resume();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;   // a focused slider scrolled into sight

private:
    void ShowValues();   // the sliders' places and the value, from the session
    void OnSlider(int index, int position);
    void AddSlider();    // one more name and slider, hidden
    void LayOutSliders();   // the shown sliders in rows and columns of the scroll area

    ViewSession&          m_session;
    QGroupBox*            m_group;
    QScrollArea*          m_scroll;    // the sliders' place in the group
    QWidget*              m_sliderArea;
    std::vector<QLabel*>  m_names;
    std::vector<QSlider*> m_sliders;
    QLabel*               m_value;
    QCheckBox*            m_animate;
    QTimer*               m_timer;    // runs only while "Animar" is on; owned by the window
    std::vector<ParameterControl> m_controls;
    SweepChoice           m_sweep;    // the parameter "Animar" sweeps, and whether it runs
    SurfaceKind           m_surface = kSurfaceNone;   // the surface the sliders stand for
    double                m_scale = 1;   // of every place in the group, as the window's text
};
