# The account file and the report parser: portable core, no <windows.h>.
# Included from reader/CMakeLists.txt, so paths are relative to reader/.
find_package(Threads REQUIRED)

add_library(qvdata STATIC
    accounts/AccountList.cpp
    accounts/Base64.cpp
    accounts/CTextFileReader.cpp
    accounts/CodePages.cpp
    accounts/AccountFileWatch.cpp
    accounts/LoadAccounts.cpp
    web/ReportParser.cpp
)
target_include_directories(qvdata PUBLIC
    ${CMAKE_CURRENT_SOURCE_DIR}/accounts
    ${CMAKE_CURRENT_SOURCE_DIR}/web
)
target_link_libraries(qvdata PUBLIC qvportable Threads::Threads)
