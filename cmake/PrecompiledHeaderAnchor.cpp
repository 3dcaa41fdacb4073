// The object the shared precompiled headers are built with; it holds no code of its own.
