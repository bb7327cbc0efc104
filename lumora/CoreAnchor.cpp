// Keeps the program library non-empty while its folders fill.
