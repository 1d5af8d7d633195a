// Placeholder: the benchmark is being built.
int main() { return 0; }
