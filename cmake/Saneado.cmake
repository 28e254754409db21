# QUIMBEL_SANITIZERS: a build for finding faults, not for shipping. AddressSanitizer stops the
# program at the first bad memory access, UndefinedBehaviorSanitizer at the first undefined
# operation (an integer overflow, a call through an object already half destroyed), and any
# warning in the project's own code fails the build. Headers of Qt and the engines come in as
# system headers, so their warnings do not count.
option(QUIMBEL_SANITIZERS "Compilar con AddressSanitizer, UndefinedBehaviorSanitizer y -Werror"
       OFF)
if(QUIMBEL_SANITIZERS)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        message(FATAL_ERROR "QUIMBEL_SANITIZERS necesita GCC o Clang")
    endif()
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer -Werror)
    # Out-of-range indexes into standard containers stop the program too.
    add_compile_definitions(_GLIBCXX_ASSERTIONS)
    add_link_options(-fsanitize=address,undefined)
endif()
