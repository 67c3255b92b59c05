// A frame's file, written whole or not at all: apart from the encoder, which a page without files uses.
#include "export/file_writer.h"
#include "export/frame_encoder.h"

bool WriteFrameFile(const std::string& path, const FrameEncoder& frame, std::string& error)
{
    return WriteFileAtomically(path, [&](std::FILE* file) { return frame.Write(file); }, error);
}
