# The transaction store, the check planner and the network configuration:
# portable core, no <windows.h>. Included from reader/CMakeLists.txt, so paths
# are relative to reader/.
add_library(qvstore STATIC
    web/TransactionStore.cpp
    accounts/CheckPlanner.cpp
    shell/NetworkConfig.cpp
)
target_include_directories(qvstore PUBLIC
    ${CMAKE_CURRENT_SOURCE_DIR}/web
    ${CMAKE_CURRENT_SOURCE_DIR}/accounts
    ${CMAKE_CURRENT_SOURCE_DIR}/shell
)
target_link_libraries(qvstore PUBLIC qvado qvdata qvcore)
