// Keeps kestrel_memory non-empty until its first real source lands; delete it then.
