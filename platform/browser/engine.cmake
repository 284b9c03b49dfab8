# The network and event half of the browser engine: the UI-thread dispatchers,
# the HTTP transports (qvhttp), the engine over them (qvbrowser) and htmlprobe.
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
target_include_directories(qvbrowser PUBLIC ${QV_ENGINE_ROOT})
target_link_libraries(qvbrowser PUBLIC qvhttp qvhtml qvports Threads::Threads)

# htmlprobe PATH-OR-ADDRESS ID: the inner HTML of one element, for golden tests.
add_executable(htmlprobe ${QV_ENGINE_ROOT}/../../tools/htmlprobe/htmlprobe.cpp)
if(WIN32)
    target_link_libraries(htmlprobe PRIVATE qvbrowser qvwin32)
    target_link_options(htmlprobe PRIVATE -municode)
else()
    target_link_libraries(htmlprobe PRIVATE qvbrowser qvposix)
endif()
