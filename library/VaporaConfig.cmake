# find_package(Vapora): Vapora::vapora (libvapora.so.2) and Vapora::vapora_static.
include(${CMAKE_CURRENT_LIST_DIR}/VaporaTargets.cmake)
