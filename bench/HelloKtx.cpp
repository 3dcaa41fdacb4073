// The floor of a ktx command: a process that prints one line, linked as ktx is
// (the same libraries, so the same loading and relocation work at start).
#include <sqlite3.h>

#include <iostream>

int main(int argc, char**)
{
    // Keeps SQLite among the libraries the process loads, as it is for ktx.
    if (argc > 99)
        std::cout << sqlite3_libversion() << '\n';
    std::cout << "hello\n";
    return 0;
}
