# The hardening Debian builds its packages with (dpkg-buildflags with hardening=+all): stack
# protector, checked string and memory functions, position-independent executables, and a
# relocation table made read-only once the program is loaded (RELRO with bind-now).
if(UNIX AND NOT APPLE AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security
                        -fstack-clash-protection -fcf-protection)
    # _FORTIFY_SOURCE needs the optimiser: a Debug build would only warn. Under AddressSanitizer
    # its checked copies would hide the accesses the sanitizer looks at.
    if(NOT QUIMBEL_SANITIZERS)
        add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
    endif()
    add_link_options(-pie -Wl,-z,relro -Wl,-z,now)
endif()
