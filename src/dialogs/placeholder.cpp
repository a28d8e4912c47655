// Keeps kestrel_dialogs non-empty until its first real source lands; delete it then.
