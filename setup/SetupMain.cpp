// Entry point of the setup launcher (not built yet).
int main() { return 0; }
