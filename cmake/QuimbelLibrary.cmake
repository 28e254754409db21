# Each layer has its own link list, so a layer cannot reach what it may not use: base/ has Qt
# Core only, data/ adds Sql (its engines SQLite and libpq), and only the layers above them have
# Widgets.
add_library(quimbel_qt_base INTERFACE)
target_link_libraries(quimbel_qt_base INTERFACE Qt6::Core)
target_include_directories(quimbel_qt_base INTERFACE ${CMAKE_BINARY_DIR}/generated)

# The server engine is reached through libpq on the Qt driver's own session.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBPQ REQUIRED libpq)
add_library(quimbel_qt_data INTERFACE)
target_link_libraries(quimbel_qt_data INTERFACE quimbel_qt_base Qt6::Sql)

# Filled by data/motor with a stopping header for each engine header; every layer but data/
# searches it first (see there).
set(quimbel_guardas_motor ${CMAKE_BINARY_DIR}/guardas-motor)
file(MAKE_DIRECTORY ${quimbel_guardas_motor})

# Qt's include root is on every include path, so <QtWidgets/QWidget> would still be found from
# base/ and data/ without linking Widgets. Those layers see a folder, searched before Qt's own,
# with one header per widget-side Qt header that stops the build with a message saying why.
set(quimbel_guardas ${CMAKE_BINARY_DIR}/guardas)
get_target_property(qt_includes Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
foreach(dir IN LISTS qt_includes)
    if(IS_DIRECTORY ${dir}/QtCore AND NOT qt_raiz)
        set(qt_raiz ${dir})
    endif()
endforeach()
foreach(modulo QtGui QtWidgets QtPrintSupport QtCharts QtOpenGL QtOpenGLWidgets)
    file(GLOB cabeceras LIST_DIRECTORIES false RELATIVE ${qt_raiz}/${modulo} ${qt_raiz}/${modulo}/*)
    foreach(cabecera IN LISTS cabeceras)
        set(guarda ${quimbel_guardas}/${modulo}/${cabecera})
        if(NOT EXISTS ${guarda})
            file(WRITE ${guarda}
                 "#error \"${modulo}/${cabecera}: base/ y data/ no usan widgets ni gráficos "
                 "(base and data layers must not include GUI headers)\"\n")
        endif()
    endforeach()
endforeach()

add_library(quimbel_qt INTERFACE)
target_link_libraries(quimbel_qt INTERFACE quimbel_qt_data Qt6::Widgets)

# A precompiled header is loaded by every file compiled with it, and a whole Qt module (<QtWidgets>)
# makes a 300 MB one that costs each file about two seconds to load; these lists hold only the
# headers most files use. Each layer's libraries share one copy: with widgets for the windows,
# without for base/ and data/.
set(quimbel_pch_nucleo <QDateTime> <QDir> <QFileInfo> <QHash> <QList> <QLocale> <QString>
    <QStringList> <QVariant>)
set(quimbel_pch_ventanas ${quimbel_pch_nucleo} <QAbstractTableModel> <QApplication> <QCheckBox>
    <QComboBox> <QDialog> <QGridLayout> <QHBoxLayout> <QHeaderView> <QKeyEvent> <QLabel>
    <QLineEdit> <QPushButton> <QTableView> <QVBoxLayout> <QWidget>)

add_library(quimbel_pch STATIC ${CMAKE_CURRENT_LIST_DIR}/pch.cpp)
target_link_libraries(quimbel_pch PUBLIC quimbel_qt)
target_include_directories(quimbel_pch BEFORE PRIVATE ${quimbel_guardas_motor})
target_precompile_headers(quimbel_pch PRIVATE ${quimbel_pch_ventanas})

add_library(quimbel_pch_data STATIC ${CMAKE_CURRENT_LIST_DIR}/pch.cpp)
target_link_libraries(quimbel_pch_data PUBLIC quimbel_qt_data)
target_precompile_headers(quimbel_pch_data PRIVATE ${quimbel_pch_nucleo} <QSqlDatabase> <QSqlQuery>)
target_include_directories(quimbel_pch_data BEFORE PRIVATE ${quimbel_guardas})

# One library per subsystem folder: every .cpp/.h directly inside the folder belongs to it, so
# adding a file never means editing a list. LAYER is base, data or gui (the default).
function(quimbel_library name)
    cmake_parse_arguments(ARG "" "LAYER" "LINKS" ${ARGN})
    if(ARG_LAYER STREQUAL "base")
        set(qt quimbel_qt_base)
        set(pch quimbel_pch_data)
    elseif(ARG_LAYER STREQUAL "data")
        set(qt quimbel_qt_data)
        set(pch quimbel_pch_data)
    else()
        set(qt quimbel_qt)
        set(pch quimbel_pch)
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    file(GLOB formularios CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.ui)
    if(NOT sources)
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${qt} ${ARG_LINKS})
        return()
    endif()
    add_library(${name} STATIC ${sources} ${headers} ${formularios})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    # AUTOUIC makes ui_<form>.h from each .ui file into a folder only this library sees: a
    # window keeps its generated class out of its header (a forward-declared member), so the
    # build refuses a header that would hand it to other libraries.
    if(ARG_LAYER STREQUAL "base" OR ARG_LAYER STREQUAL "data")
        target_include_directories(${name} BEFORE PRIVATE ${quimbel_guardas})
    endif()
    if(NOT ARG_LAYER STREQUAL "data")
        target_include_directories(${name} BEFORE PRIVATE ${quimbel_guardas_motor})
    endif()
    target_link_libraries(${name} PUBLIC ${qt} ${ARG_LINKS})
    if(NOT ARG_LAYER STREQUAL "base")
        target_precompile_headers(${name} REUSE_FROM ${pch})
    endif()
endfunction()

# A module (base/Modulo.h): a Qt plugin made of the files in FOLDER, which include the interface
# it implements from the folder above. It links Qt alone, never the program's libraries, so it
# holds no second copy of the program's state; -z defs turns a call into the program, which the
# program does not export, into a link error instead of a module that fails to load.
function(quimbel_modulo name carpeta)
    cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${carpeta}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/${carpeta}/*.h)
    add_library(${name} MODULE ${sources})
    target_include_directories(${name} BEFORE PRIVATE ${quimbel_guardas_motor})
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}
                               ${PROJECT_SOURCE_DIR}/data)
    target_link_libraries(${name} PRIVATE Qt6::Widgets ${ARG_LINKS})
    if(NOT QUIMBEL_SANITIZERS AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_link_options(${name} PRIVATE -Wl,-z,defs)
    endif()
    set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${QUIMBEL_MODULOS_SALIDA})
    install(TARGETS ${name} LIBRARY DESTINATION ${QUIMBEL_MODULOS_DESTINO})
endfunction()
