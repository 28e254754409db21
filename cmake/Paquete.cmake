# What `cmake --install` puts on a machine, and the Debian package CPack builds from it. The
# package ships no database: the first start leads to the options dialog, and `quimbel-db crear`
# makes one.
include(GNUInstallDirs)

set(QUIMBEL_ID com.tolvanex.Quimbel)
set(paquete ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS quimbel quimbel-db RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(UNIX AND NOT APPLE)
    # The compiler's name and version in .comment say nothing to the person and differ from one
    # build machine to the next.
    find_program(OBJCOPY NAMES objcopy ${CMAKE_OBJCOPY})
    install(CODE "foreach(p ${CMAKE_INSTALL_BINDIR}/quimbel ${CMAKE_INSTALL_BINDIR}/quimbel-db
                     ${QUIMBEL_MODULOS_DESTINO}/libquimbel-graficos.so
                     ${QUIMBEL_MODULOS_DESTINO}/libquimbel-impresion.so)
        execute_process(COMMAND ${OBJCOPY} --remove-section=.comment
                        \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${p})
    endforeach()")
endif()

if(UNIX AND NOT APPLE)
    install(FILES ${paquete}/${QUIMBEL_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
    install(FILES ${paquete}/${QUIMBEL_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
    set(iconos ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)
    install(FILES ${paquete}/icono/quimbel.svg DESTINATION ${iconos}/scalable/apps
            RENAME ${QUIMBEL_ID}.svg)
    file(GLOB pngs CONFIGURE_DEPENDS ${paquete}/icono/quimbel-*.png)
    foreach(png IN LISTS pngs)
        string(REGEX MATCH "quimbel-([0-9]+)\\.png$" _ "${png}")
        install(FILES ${png} DESTINATION ${iconos}/${CMAKE_MATCH_1}x${CMAKE_MATCH_1}/apps
                RENAME ${QUIMBEL_ID}.png)
    endforeach()

    # Debian wants the manual pages and the changelog compressed, without the file's name and
    # time inside, so that two builds give the same package. The manual pages are English in
    # man1 and Spanish in es/man1, where man looks in a Spanish session.
    find_program(GZIP gzip REQUIRED)
    set(comprimidos)
    foreach(origen man/quimbel.1 man/quimbel-db.1 man/es/quimbel.1 man/es/quimbel-db.1
                   debian-doc/changelog)
        set(destino ${CMAKE_BINARY_DIR}/paquete/${origen}.gz)
        get_filename_component(carpeta ${destino} DIRECTORY)
        file(MAKE_DIRECTORY ${carpeta})
        add_custom_command(OUTPUT ${destino}
                           COMMAND ${GZIP} -9 -n -c ${paquete}/${origen} > ${destino}
                           DEPENDS ${paquete}/${origen} VERBATIM)
        list(APPEND comprimidos ${destino})
    endforeach()
    add_custom_target(quimbel_documentos ALL DEPENDS ${comprimidos})
    foreach(idioma "" es/)
        install(FILES ${CMAKE_BINARY_DIR}/paquete/man/${idioma}quimbel.1.gz
                      ${CMAKE_BINARY_DIR}/paquete/man/${idioma}quimbel-db.1.gz
                DESTINATION ${CMAKE_INSTALL_MANDIR}/${idioma}man1)
    endforeach()
    # The machine's settings, commented: a configuration file of the package, which purge removes.
    install(FILES ${paquete}/Quimbel.conf DESTINATION /etc/xdg/Tolvanex)
    set(docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/quimbel)
    install(FILES ${paquete}/debian-doc/copyright ${paquete}/debian-doc/README.Debian
            DESTINATION ${docdir})
    install(FILES ${CMAKE_BINARY_DIR}/paquete/debian-doc/changelog.gz DESTINATION ${docdir})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quimbel)
set(CPACK_PACKAGE_VENDOR Tolvanex)
set(CPACK_PACKAGE_CONTACT "Tolvanex <quimbel@tolvanex.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.tolvanex.com/quimbel/)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# One package per component: the program, and where the server's headers were found, the
# server's extension (data/servidor). Each description's first line is its summary.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL programa)
set(CPACK_DEBIAN_PROGRAMA_PACKAGE_NAME quimbel)
set(CPACK_DEBIAN_PROGRAMA_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PROGRAMA_DESCRIPTION
    "órdenes de compra con cotizaciones y autorización
Programa de escritorio para las órdenes de compra de una empresa:
pedidos, cotizaciones de proveedores, autorización con contraseña,
estados Pendiente, En trámite, Cumplida y Anulada, mantenimiento de
datos maestros e informes impresos. Trabaja sobre un archivo de base de
datos SQLite compartido, o sobre PostgreSQL para varios puestos.

quimbel-db crea la base de datos; el paquete no trae ninguna.")
# What is loaded at run time, which dpkg-shlibdeps cannot see in the executables: the SQLite and
# PostgreSQL drivers and the translations of Qt's own texts, which Qt loads, and libpq,
# libxlsxwriter and libmdb, which the program loads when it first needs them
# (BibliotecaDiferida). The xcb platform plugin comes with libqt6gui6 on Debian 12.
set(CPACK_DEBIAN_PROGRAMA_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, libqt6sql6-psql, libpq5, libxlsxwriter4, libmdb3, qt6-translations-l10n")
# Without it the program still runs on a Wayland desktop, through XWayland.
set(CPACK_DEBIAN_PROGRAMA_PACKAGE_RECOMMENDS qt6-wayland)
configure_file(${paquete}/debian-doc/conffiles ${CMAKE_BINARY_DIR}/paquete/conffiles COPYONLY)
set(CPACK_DEBIAN_PROGRAMA_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/paquete/conffiles)

# The extension is for the machine that runs the office's PostgreSQL, and is named as Debian
# names the extensions of a server's version.
get_property(pg_mayor GLOBAL PROPERTY quimbel_pg_mayor)
if(pg_mayor)
    set(nombre postgresql-${pg_mayor}-quimbel-cadena)
    list(APPEND CPACK_COMPONENTS_ALL servidor)
    set(CPACK_DEBIAN_SERVIDOR_PACKAGE_NAME ${nombre})
    set(CPACK_DEBIAN_SERVIDOR_PACKAGE_SECTION database)
    set(CPACK_DEBIAN_SERVIDOR_PACKAGE_DEPENDS postgresql-${pg_mayor})
    set(CPACK_DEBIAN_SERVIDOR_DESCRIPTION
        "huellas y turno del historial de Quimbel, en C
Extensión quimbel_cadena para PostgreSQL ${pg_mayor}: el servidor calcula
en C las huellas con que se encadena el historial de las órdenes de
compra de Quimbel, las mismas que sin ella calcula en PL/pgSQL, y toma
en C el turno de quien lo escribe; así guarda más rápido. Se instala en
la máquina del servidor; Quimbel la activa en cada base al ponerla al
día, o su dueño con CREATE EXTENSION quimbel_cadena (con ALTER EXTENSION
quimbel_cadena UPDATE tras instalar una versión más nueva).")
    install(FILES ${paquete}/debian-doc/copyright
                  ${CMAKE_BINARY_DIR}/paquete/debian-doc/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${nombre} COMPONENT servidor)
    # Debian's own folder for a server version's modules repeats "lib".
    file(WRITE ${CMAKE_BINARY_DIR}/paquete/${nombre}
         "${nombre}: repeated-path-segment lib [usr/lib/postgresql/${pg_mayor}/lib/]\n")
    install(FILES ${CMAKE_BINARY_DIR}/paquete/${nombre}
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT servidor)
endif()
include(CPack)
