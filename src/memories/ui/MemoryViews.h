#pragma once
// Registers the views of the store, recall, delete, copy and system type dialogs with the
// program's dialog service.
class QtDialogService;

void RegisterMemoryViews(QtDialogService& dialogs);
