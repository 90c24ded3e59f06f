# Manual pages and shell completions made from a program's own grammar (its hidden --dump-grammar), through
# packaging/gen_docs.py, so they name exactly what the program accepts. parlix_generated_docs(TARGET COMPONENT) builds
# them into ${CMAKE_CURRENT_BINARY_DIR}/docs/TARGET and installs the Italian page in man/it/man1, the short
# English one in man1, and the completions where bash-completion and zsh look, all in the install COMPONENT.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(parlix_generated_docs program component)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/docs/${program})
    set(outputs ${dir}/it/${program}.1.gz ${dir}/en/${program}.1.gz ${dir}/${program}.bash ${dir}/_${program})
    add_custom_command(OUTPUT ${outputs}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        # In a sanitizer build the leak check needs ptrace, which a build sandbox may not allow.
        COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                $<TARGET_FILE:${program}> --dump-grammar > ${dir}/${program}.json
        COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/packaging/gen_docs.py ${dir}/${program}.json ${dir}
        # -n: no time stamp, so the build repeats byte for byte.
        COMMAND gzip -9 -n -f ${dir}/it/${program}.1 ${dir}/en/${program}.1
        DEPENDS ${program} ${PROJECT_SOURCE_DIR}/packaging/gen_docs.py
        COMMENT "Manual pages and completions of ${program}" VERBATIM)
    add_custom_target(${program}_docs ALL DEPENDS ${outputs})
    install(FILES ${dir}/it/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/it/man1 COMPONENT ${component})
    install(FILES ${dir}/en/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
    install(FILES ${dir}/${program}.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
            RENAME ${program} COMPONENT ${component})
    install(FILES ${dir}/_${program} DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions
            COMPONENT ${component})
endfunction()
