#pragma once

#include <QString>

namespace marubo::store {

// The creation script of the work folder (WKData): 32 tables and 13 secondary
// indexes, in the engine's SQL dialect. Run against the work folder's handle
// every time the main window becomes active.
QString workFolderScript();

// The creation script of the settings table HeadM in the start-up directory.
QString headMScript();

} // namespace marubo::store
