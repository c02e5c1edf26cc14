#pragma once
// The main window's menus as one table (built by BuildMenuTree).

#include "widgets/MenuTree.h"

#include <span>

// The station's menu tree, in order.
std::span<const MenuRow> MainMenuRows();
