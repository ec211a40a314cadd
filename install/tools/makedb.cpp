// Build step: makes a new SQLite database file from a schema script.
// Usage: makedb SCHEMA.sql OUTPUT.db
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SCHEMA.sql OUTPUT.db\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "makedb: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream schema;
    schema << in.rdbuf();
    const std::string temp = std::string(argv[2]) + ".new";
    std::remove(temp.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        std::fprintf(stderr, "makedb: %s\n", sqlite3_errmsg(db));
        sqlite3_close(db);
        return 1;
    }
    char* message = nullptr;
    if (sqlite3_exec(db, schema.str().c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::fprintf(stderr, "makedb: %s\n", message != nullptr ? message : "failed");
        sqlite3_free(message);
        sqlite3_close(db);
        std::remove(temp.c_str());
        return 1;
    }
    sqlite3_close(db);
    if (std::rename(temp.c_str(), argv[2]) != 0) {
        std::perror("makedb");
        return 1;
    }
    return 0;
}
