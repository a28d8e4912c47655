// Keeps kestrel_app non-empty while its forms are being added.
