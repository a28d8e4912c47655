// Keeps kestrel_exchange non-empty until its first real source lands; delete it then.
