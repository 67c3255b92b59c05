// The projector in the window: in full screen the controls and their text grow with the screen, and
// the key H hides every control but the picture and "Parámetros", and shows them again. The rules
// (the text's size, which groups stay) are the session's, shared with the page.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QRect>

#include "session/presentation.h"

class QDialog;
class QWidget;

class CPresentation : public QObject {
public:
    // Keeps the template's place of each of the window's controls made so far; relayout places
    // the rest (the square, the bars, "Parámetros") after a change.
    CPresentation(QDialog& window, std::function<void()> relayout);

    bool IsPresenting() const { return m_presenting; }
    void SetPresenting(bool on);
    int TextPixels() const;   // the controls' text: the template's, larger in full screen
    double Scale() const;     // the controls' size against the template's, as their text

    // The window's font and the template controls' places at Scale(); call before placing the rest.
    void Apply();

    // The group a control of the window belongs to, by its objectName.
    static ControlGroup GroupOf(const QObject& control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;   // full screen and back

private:
    QDialog& m_window;
    std::function<void()> m_relayout;
    std::vector<std::pair<QPointer<QWidget>, QRect>> m_places;   // the template's
    std::vector<QPointer<QWidget>> m_hidden;   // shown before H hid them, shown again after
    bool m_presenting = false;
    int m_appliedPixels = 0;
};
