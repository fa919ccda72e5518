#pragma once
// Failures that tests inject to see how callers cope with a machine that
// offers no OpenGL. They stay until cleared.
namespace kw::gl {

enum class InjectedFailure {
    None,
    NoPixelFormat,  // ChoosePixelFormat finds nothing
    SetPixelFormat, // SetPixelFormat refuses every format
};

void InjectFailure(InjectedFailure failure);

} // namespace kw::gl
