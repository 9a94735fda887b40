#include "engine/render.h"

#include <windows.h>
#include <GL/gl.h>

namespace {
HDC deviceContext = nullptr;
HGLRC glContext = nullptr;
}  // namespace

void setUpRendering(HWND window) {
    deviceContext = GetDC(window);
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DOUBLEBUFFER | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 24;
    SetPixelFormat(deviceContext, ChoosePixelFormat(deviceContext, &pfd), &pfd);
    glContext = wglCreateContext(deviceContext);
    wglMakeCurrent(deviceContext, glContext);
    glClearColor(0, 0, 0, 1);
}

void frameStep() {
    glClear(GL_COLOR_BUFFER_BIT);
    glFlush();
    SwapBuffers(deviceContext);
}

void tearDownRendering(HWND window) {
    ReleaseDC(window, deviceContext);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(glContext);
}
