// The program's resources: one resource table (DialogTemplate.h) registered at start-up, looked
// up by id. Bitmaps and icons are image files in the program's Qt resources (a .qrc compiled
// into the program), named by their paths in the table.
#pragma once

#include <afx/DialogTemplate.h>
#include <afx/Types.h>

// Registers the program's table. The table and everything it points at must outlive its use
// (static data); a later call replaces the earlier table.
void AfxSetResourceTable(const afx::ResourceTable& table);
const afx::ResourceTable& AfxGetResourceTable();

namespace afx {

// Lookups by id in the registered table; null when the id is not there.
const DialogTemplate* FindDialogTemplate(UINT id);
const BitmapResource* FindBitmapResource(UINT id);
const IconResource* FindIconResource(UINT id);
const char* FindStringResource(UINT id);

// The icon group id, loaded once and kept for the whole run (icons are never destroyed);
// null when the id is missing or its file cannot be read.
HICON LoadIconResource(UINT id);

}  // namespace afx
