# Every library compiles against the same Qt modules, so all of them can share one precompiled
# header (a Qt PCH is large and slow to build; one copy keeps builds quick on small machines).
add_library(quimbel_qt INTERFACE)
target_link_libraries(quimbel_qt INTERFACE Qt6::Widgets Qt6::Sql Qt6::PrintSupport
                                           SQLite::SQLite3)
target_include_directories(quimbel_qt INTERFACE ${CMAKE_BINARY_DIR}/generated)

add_library(quimbel_pch STATIC ${CMAKE_CURRENT_LIST_DIR}/pch.cpp)
target_link_libraries(quimbel_pch PUBLIC quimbel_qt)
target_precompile_headers(quimbel_pch PRIVATE <QtCore> <QtGui> <QtWidgets>)

# One library per subsystem folder: every .cpp/.h directly inside the folder belongs to it, so
# adding a file never means editing a list.
function(quimbel_library name)
    cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT sources)
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE quimbel_qt ${ARG_LINKS})
        return()
    endif()
    add_library(${name} STATIC ${sources} ${headers})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC quimbel_qt ${ARG_LINKS})
    target_precompile_headers(${name} REUSE_FROM quimbel_pch)
endfunction()
