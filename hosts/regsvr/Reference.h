#pragma once
// The reference of a module's controls in Markdown, read from its type
// library: every coclass with its properties, methods and events, their
// types and DISPIDs. docs/controls.md is this text for our module.
#include "platform/com/TypeInfo.h"

#include <string>

namespace kw::regsvr {

// The Markdown text; empty with `error` set when the library cannot be read.
std::string ReferenceOf(ITypeLib* lib, std::string* error);

} // namespace kw::regsvr
