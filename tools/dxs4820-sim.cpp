// Placeholder: the simulated instrument is being built.
int main() { return 0; }
