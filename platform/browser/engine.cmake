# The network and event half of the browser engine: the UI-thread dispatchers,
# the HTTP transports (qvhttp) and the engine over them (qvbrowser).
# Included from this folder's CMakeLists.txt.
set(QV_ENGINE_ROOT ${CMAKE_CURRENT_LIST_DIR})
find_package(Threads REQUIRED)

# The UI-thread dispatchers belong with the other platform ports.
if(WIN32)
    target_sources(qvwin32 PRIVATE ${QV_ENGINE_ROOT}/../win32/Win32UiDispatcher.cpp)
else()
    target_sources(qvposix PRIVATE ${QV_ENGINE_ROOT}/../posix/EventLoop.cpp)
    target_link_libraries(qvposix PUBLIC Threads::Threads)
endif()

if(WIN32)
    add_library(qvhttp STATIC ${QV_ENGINE_ROOT}/http/WinInetTransport.cpp)
    target_link_libraries(qvhttp PUBLIC qvwin32 wininet)
else()
    find_package(CURL REQUIRED)
    add_library(qvhttp STATIC ${QV_ENGINE_ROOT}/http/CurlTransport.cpp)
    target_link_libraries(qvhttp PUBLIC qvportable CURL::libcurl)
endif()
target_include_directories(qvhttp PUBLIC ${QV_ENGINE_ROOT} ${QV_ENGINE_ROOT}/http)
target_link_libraries(qvhttp PUBLIC Threads::Threads)

add_library(qvbrowser STATIC ${QV_ENGINE_ROOT}/BrowserEngine.cpp)
target_sources(qvbrowser PRIVATE ${QV_ENGINE_ROOT}/EngineBrowser.cpp)
target_include_directories(qvbrowser PUBLIC ${QV_ENGINE_ROOT})
target_link_libraries(qvbrowser PUBLIC qvhttp qvhtml qvports Threads::Threads)
