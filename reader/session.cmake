# One check: the activity log's texts, the scheduler and the web session.
# Portable core, no <windows.h>. Included from reader/CMakeLists.txt, so
# paths are relative to reader/.
add_library(qvsession STATIC
    shell/ActivityLog.cpp
    accounts/CheckScheduler.cpp
    web/BrowserSession.cpp
    web/LoadFailureText.cpp
    accounts/ReaderCheck.cpp
)
target_include_directories(qvsession PUBLIC
    ${CMAKE_CURRENT_SOURCE_DIR}/shell
    ${CMAKE_CURRENT_SOURCE_DIR}/accounts
    ${CMAKE_CURRENT_SOURCE_DIR}/web
)
target_link_libraries(qvsession PUBLIC qvstore qvcore qvports)
