// The widget layer grows here (ui/shell, ui/dialogs, ...).
