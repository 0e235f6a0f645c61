# SQLite built into the program, for Windows, where the system has no library of it: the
# amalgamation (sqlite3.c, sqlite3.h) that the npm package better-sqlite3 carries, fetched at
# configure time and checked against a pinned digest. A copy of the archive placed at
# ${TARVIK_SQLITE_ARCHIVE} beforehand is used as it is, without a download, when it matches.
set(TARVIK_SQLITE_PACKAGE better-sqlite3-12.10.0)  # SQLite 3.53.1
set(TARVIK_SQLITE_SHA256 842b5442b62913e6b9378394ade4e80d5d2e4bbb537e0c20b11bc4cf58313d3f)
set(TARVIK_SQLITE_ARCHIVE ${PROJECT_BINARY_DIR}/_deps/${TARVIK_SQLITE_PACKAGE}.tgz)
set(TARVIK_SQLITE_DIR ${PROJECT_BINARY_DIR}/_deps/${TARVIK_SQLITE_PACKAGE})

if(NOT EXISTS ${TARVIK_SQLITE_DIR}/package/deps/sqlite3/sqlite3.c)
  set(url https://registry.npmjs.org/better-sqlite3/-/${TARVIK_SQLITE_PACKAGE}.tgz)
  file(DOWNLOAD ${url} ${TARVIK_SQLITE_ARCHIVE}
       EXPECTED_HASH SHA256=${TARVIK_SQLITE_SHA256} TLS_VERIFY ON STATUS status)
  list(GET status 0 code)
  if(NOT code EQUAL 0)
    list(GET status 1 message)
    message(FATAL_ERROR "Cannot fetch SQLite from ${url}: ${message}")
  endif()
  file(ARCHIVE_EXTRACT INPUT ${TARVIK_SQLITE_ARCHIVE} DESTINATION ${TARVIK_SQLITE_DIR}
       PATTERNS package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h)
endif()

enable_language(C)
add_library(tarvik_sqlite3 STATIC ${TARVIK_SQLITE_DIR}/package/deps/sqlite3/sqlite3.c)
# Not the program's code: its warnings are SQLite's to mind.
set_property(TARGET tarvik_sqlite3 PROPERTY COMPILE_OPTIONS -w)
target_include_directories(tarvik_sqlite3 SYSTEM INTERFACE ${TARVIK_SQLITE_DIR}/package/deps/sqlite3)
# Foreign keys stay off, as in the system libraries the Linux build uses. Strings only in single
# quotes; no extensions loaded from files; no memory statistics, which cost a lock per allocation.
target_compile_definitions(tarvik_sqlite3 PRIVATE
  SQLITE_THREADSAFE=1
  SQLITE_DQS=0
  SQLITE_OMIT_LOAD_EXTENSION
  SQLITE_DEFAULT_MEMSTATUS=0
)
