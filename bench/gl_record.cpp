// The GL wrappers of the bench: each forwards to the real call, and while a frame is being
// recorded keeps the call and, at a draw, a copy of the vertex data its arrays point to.
#include "gl_record.h"

#include <EGL/egl.h>

#include "sdl_gles.h"

extern "C" {
void __real_glClear(GLbitfield mask);
void __real_glEnable(GLenum cap);
void __real_glDisable(GLenum cap);
void __real_glEnableClientState(GLenum array);
void __real_glDisableClientState(GLenum array);
void __real_glLineWidth(GLfloat width);
void __real_glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void __real_glBindTexture(GLenum target, GLuint texture);
void __real_glVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void __real_glColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void __real_glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void __real_glDrawArrays(GLenum mode, GLint first, GLsizei count);
EGLBoolean __real_eglSwapBuffers(EGLDisplay display, EGLSurface surface);
}

namespace {

GlFrame* recording = nullptr;
size_t first_unfilled = 0;  // array calls before this one have their data copied

void keep(GlCall call) {
    if (recording) recording->calls.push_back(call);
}

void keep_array(Op op, GLint size, GLsizei stride, const void* pointer) {
    keep({op, 0, size, stride, {}, 0, pointer});
}

// Copies the vertices a draw reads from each array set since the last draw: the arrays
// live on the game's stack only while the draw is made. Floats only, as the game uses.
void copy_arrays(GLint first, GLsizei count) {
    std::vector<GlCall>& calls = recording->calls;
    for (size_t i = first_unfilled; i < calls.size(); i++) {
        GlCall& call = calls[i];
        if (!call.source) continue;
        const size_t bytes = static_cast<size_t>(first + count - 1) * call.stride +
                             static_cast<size_t>(call.size) * sizeof(GLfloat);
        call.data = recording->arrays.size();
        const auto* from = static_cast<const unsigned char*>(call.source);
        recording->arrays.insert(recording->arrays.end(), from, from + bytes);
        call.source = nullptr;
    }
    first_unfilled = calls.size();
    recording->draw_calls++;
}

void replay_call(const GlCall& call, const unsigned char* arrays) {
    const void* data = arrays + call.data;
    switch (call.op) {
        case Op::Clear:
            glClear(call.name);
            break;
        case Op::Enable:
            glEnable(call.name);
            break;
        case Op::Disable:
            glDisable(call.name);
            break;
        case Op::EnableClientState:
            glEnableClientState(call.name);
            break;
        case Op::DisableClientState:
            glDisableClientState(call.name);
            break;
        case Op::LineWidth:
            glLineWidth(call.values[0]);
            break;
        case Op::Color4f:
            glColor4f(call.values[0], call.values[1], call.values[2], call.values[3]);
            break;
        case Op::BindTexture:
            glBindTexture(GL_TEXTURE_2D, call.name);
            break;
        case Op::VertexPointer:
            glVertexPointer(call.size, GL_FLOAT, call.stride, data);
            break;
        case Op::ColorPointer:
            glColorPointer(call.size, GL_FLOAT, call.stride, data);
            break;
        case Op::TexCoordPointer:
            glTexCoordPointer(call.size, GL_FLOAT, call.stride, data);
            break;
        case Op::DrawArrays:
            glDrawArrays(call.name, call.size, call.stride);
            break;
        case Op::Swap:
            SDL_GLES_SwapBuffers();
            break;
    }
}

}  // namespace

void gl_record_start(GlFrame* frame) {
    *frame = GlFrame{};
    first_unfilled = 0;
    recording = frame;
}

void gl_record_stop() { recording = nullptr; }

// Through the same wrappers as the game's calls, so both pay the same small toll.
void gl_replay(const GlFrame& frame) {
    for (const GlCall& call : frame.calls) replay_call(call, frame.arrays.data());
}

extern "C" {

void __wrap_glClear(GLbitfield mask) {
    keep({Op::Clear, mask, 0, 0, {}, 0, nullptr});
    __real_glClear(mask);
}

void __wrap_glEnable(GLenum cap) {
    keep({Op::Enable, cap, 0, 0, {}, 0, nullptr});
    __real_glEnable(cap);
}

void __wrap_glDisable(GLenum cap) {
    keep({Op::Disable, cap, 0, 0, {}, 0, nullptr});
    __real_glDisable(cap);
}

void __wrap_glEnableClientState(GLenum array) {
    keep({Op::EnableClientState, array, 0, 0, {}, 0, nullptr});
    __real_glEnableClientState(array);
}

void __wrap_glDisableClientState(GLenum array) {
    keep({Op::DisableClientState, array, 0, 0, {}, 0, nullptr});
    __real_glDisableClientState(array);
}

void __wrap_glLineWidth(GLfloat width) {
    keep({Op::LineWidth, 0, 0, 0, {width}, 0, nullptr});
    __real_glLineWidth(width);
}

void __wrap_glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    keep({Op::Color4f, 0, 0, 0, {r, g, b, a}, 0, nullptr});
    __real_glColor4f(r, g, b, a);
}

void __wrap_glBindTexture(GLenum target, GLuint texture) {
    keep({Op::BindTexture, texture, 0, 0, {}, 0, nullptr});
    __real_glBindTexture(target, texture);
}

void __wrap_glVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    keep_array(Op::VertexPointer, size, stride, pointer);
    __real_glVertexPointer(size, type, stride, pointer);
}

void __wrap_glColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    keep_array(Op::ColorPointer, size, stride, pointer);
    __real_glColorPointer(size, type, stride, pointer);
}

void __wrap_glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    keep_array(Op::TexCoordPointer, size, stride, pointer);
    __real_glTexCoordPointer(size, type, stride, pointer);
}

void __wrap_glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    if (recording) {
        copy_arrays(first, count);
        keep({Op::DrawArrays, mode, first, count, {}, 0, nullptr});
    }
    __real_glDrawArrays(mode, first, count);
}

// A frame is presented once it is drawn: on a window the swap waits for that itself; the
// off-screen buffer's swap does nothing, so the bench waits, or the renderer would put the
// drawing off and the frame would seem free. The game's frames and the replays alike.
EGLBoolean __wrap_eglSwapBuffers(EGLDisplay display, EGLSurface surface) {
    keep({Op::Swap, 0, 0, 0, {}, 0, nullptr});
    const EGLBoolean swapped = __real_eglSwapBuffers(display, surface);
    glFinish();
    return swapped;
}

}  // extern "C"
