# Installs the build into a fresh prefix and checks the layout a desktop expects; then runs the installed
# programs from there, which also proves they find the installed libqwirl.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(expected
    bin/parlix bin/parlix-cli bin/qwirl bin/qwirl-sandbox
    ${LIBDIR}/libqwirl.so.2 ${LIBDIR}/parlix/parlix_vcardparser.so
    ${LIBDIR}/parlix/parlix_phonenumbers.so
    share/applications/it.parlix.Parlix.desktop
    share/metainfo/it.parlix.Parlix.metainfo.xml
    share/icons/hicolor/scalable/apps/it.parlix.Parlix.svg
    share/icons/hicolor/16x16/apps/it.parlix.Parlix.png
    share/icons/hicolor/48x48/apps/it.parlix.Parlix.png
    share/icons/hicolor/256x256/apps/it.parlix.Parlix.png
    share/man/man1/parlix.1.gz share/man/man1/parlix-cli.1.gz
    share/man/man1/qwirl.1.gz share/man/man1/qwirl-sandbox.1.gz
    share/man/it/man1/parlix.1.gz share/man/it/man1/parlix-cli.1.gz
    share/man/it/man1/qwirl.1.gz share/man/it/man1/qwirl-sandbox.1.gz
    share/bash-completion/completions/qwirl share/zsh/vendor-completions/_qwirl
    share/bash-completion/completions/parlix-cli share/zsh/vendor-completions/_parlix-cli
    share/doc/parlix/parlix.html share/doc/parlix/shared-database.md share/doc/parlix/copyright
    share/doc/parlix/changelog.gz)
set(missing)
foreach(file IN LISTS expected)
    if(NOT EXISTS ${PREFIX}/${file})
        list(APPEND missing ${file})
    endif()
endforeach()
if(missing)
    message(FATAL_ERROR "missing from the installed prefix: ${missing}")
endif()

foreach(run "parlix;--version;^parlix " "qwirl;--help;^Uso: qwirl " "parlix-cli;--help;^Uso: parlix-cli ")
    list(GET run 0 program)
    list(GET run 1 option)
    list(GET run 2 pattern)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                            --unset=LD_LIBRARY_PATH ${PREFIX}/bin/${program} ${option}
        RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0 OR NOT out MATCHES "${pattern}")
        message(FATAL_ERROR "installed ${program} ${option} gave ${rc}: ${out}${err}")
    endif()
endforeach()
