#include "export/figure_work.h"

#include "render/frame.h"

long long VectorPieces(const Wireframe& wire, const FrameStyle& style, OutputFormat format)
{
    if (format == OutputFormat::Png || format == OutputFormat::Gif)
        return 0;
    const long long eyes = style.anaglyph ? 2 : 1;
    long long each = 1;
    if (PipelineFor(style, false, IsFigureFormat(format)) == FramePipeline::Figure)
        each = style.hiddenLines && style.dashedHidden ? 2 : 1;   // the seen piece and the dashed one
    else if (style.lineWidth > 1)
        each = 2LL * style.lineWidth;   // a path a pass, each begun anew
    return static_cast<long long>(wire.ops.size()) * eyes * each;
}
