// Records the GL calls of one frame as the game makes them, and replays them in a bare loop:
// the floor for the game's fixed draw calls. The bench is linked with --wrap for each GL call
// a frame makes, so every call passes through here; outside a recording a wrapper only
// forwards the call.
#pragma once

#include <GLES/gl.h>

#include <cstddef>
#include <vector>

enum class Op {
    Clear,
    Enable,
    Disable,
    EnableClientState,
    DisableClientState,
    LineWidth,
    Color4f,
    BindTexture,
    VertexPointer,
    ColorPointer,
    TexCoordPointer,
    DrawArrays,
    Swap
};

// One call, with the arguments its kind uses.
struct GlCall {
    Op op;
    GLenum name;         // capability, array, mode or texture name
    GLint size;          // components per vertex; first vertex of a draw
    GLsizei stride;      // bytes between vertices; vertex count of a draw
    GLfloat values[4];   // line width, colour
    size_t data;         // offset of the copied array in GlFrame::arrays
    const void* source;  // where the game's array was, until the draw copies it
};

struct GlFrame {
    std::vector<GlCall> calls;
    std::vector<unsigned char> arrays;  // vertex data copied at each draw
    int draw_calls = 0;
};

// Starts recording into `frame` (emptied first); calls until gl_record_stop are kept.
void gl_record_start(GlFrame* frame);
void gl_record_stop();
// Issues the recorded calls again, in order, with the recorded vertex data.
void gl_replay(const GlFrame& frame);
