// Placeholder; the main window comes here.
