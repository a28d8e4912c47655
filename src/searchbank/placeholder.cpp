// Keeps kestrel_searchbank non-empty until its first real source lands; delete it then.
