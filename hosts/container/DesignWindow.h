#pragma once
// The designer on a display: the form's mouse and keys go to the designer
// while it lays out, the form paints the selection handles, and closing the
// form asks about unsaved changes. Beside the form stand a toolbox, a
// property list with the control's methods, and the event log.
#include "hosts/container/Designer.h"
#include "hosts/container/GuiSession.h"

#include <optional>
#include <string>

namespace kw::container {

void AttachDesignWindow(CDesigner& designer, GuiSession& gui);
// The windows alone (headless too): the toolbox, the panes and the form's
// selection painting, without the mouse.
void CreateDesignWindows(CDesigner& designer);
// Gives the form back as it was and closes the designer's windows.
void DestroyDesignWindows();
// A picture of the form with its selection beside the toolbox and the panes.
bool SnapshotDesignWindow(CContainer& container, CDesigner& designer, const std::string& path);
// Starts design mode with its windows, once; gives the toolbox window.
HWND ShowDesignWindow(lua_State* L, GuiSession& gui);

// A small modal prompt over `owner`: a label and a line of text. Nothing
// when cancelled.
std::optional<std::string> PromptText(HWND owner, const std::string& caption,
                                      const std::string& label, const std::string& initial);

} // namespace kw::container
