// A canvas that writes the frame as SVG: the same lines as the picture, as vector paths.
#pragma once

#include <string>

#include "render/canvas.h"

class SvgCanvas final : public Canvas {
public:
    void SelectPen(Rgb colour) override;
    void MoveTo(Pixel p) override;
    void LineTo(Pixel p) override;
    void Rectangle(int left, int top, int right, int bottom, Rgb fill) override;

    // The whole document, viewBox 0 0 500 500: what lies outside it is clipped by the viewer.
    std::string Document() const;

    // Later paths lighten what lies under them channel by channel instead of covering it, as the
    // two pictures of a stereo frame add up on black.
    void LightenPaths(bool lighten) { ClosePath(); m_lighten = lighten; }

private:
    void ClosePath();

    std::string m_body;
    std::string m_path;        // the open path of the current pen
    Rgb         m_pen;
    Pixel       m_position;
    bool        m_lighten = false;
};
