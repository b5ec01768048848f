// Keeps the Windows-only support library non-empty until it has helpers.
