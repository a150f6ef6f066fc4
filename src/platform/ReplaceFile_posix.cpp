// Replacing a file crash-safely on POSIX systems (being written).
