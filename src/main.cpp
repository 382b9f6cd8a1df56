// arrowgrid: arranges a list of words into an arrow-word grid.
int main() { return 0; }
