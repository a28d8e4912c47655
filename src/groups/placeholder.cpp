// Keeps kestrel_groups non-empty until its first real source lands; delete it then.
