#pragma once
// Registers the views of the store, recall and delete dialogs with the program's dialog service.
class QtDialogService;

void RegisterMemoryViews(QtDialogService& dialogs);
