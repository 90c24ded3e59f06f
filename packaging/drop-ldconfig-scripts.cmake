# Run by CPack after it has written the packages (CPACK_POST_BUILD_SCRIPTS). CPack gives every package
# that holds a library in /usr/lib a postinst and a postrm that only call ldconfig; Debian replaced such
# calls by the ldconfig trigger that our library packages carry. The scripts are taken out again, and only
# when they are exactly CPack's: a script of our own stays.
set(ldconfig_script "^#!/bin/sh\n\nset -e\n\nif \\[ \"\\$1\" = \"(configure|remove)\" \\]; then\n\tldconfig\nfi\n$")
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    set(dir ${CPACK_TOPLEVEL_DIRECTORY}/without-ldconfig)
    file(REMOVE_RECURSE ${dir})
    execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${dir} COMMAND_ERROR_IS_FATAL ANY)
    set(changed FALSE)
    foreach(script postinst postrm)
        if(EXISTS ${dir}/DEBIAN/${script})
            file(READ ${dir}/DEBIAN/${script} text)
            if(text MATCHES "${ldconfig_script}")
                file(REMOVE ${dir}/DEBIAN/${script})
                set(changed TRUE)
            endif()
        endif()
    endforeach()
    if(changed)
        execute_process(COMMAND dpkg-deb --root-owner-group --build ${dir} ${deb} OUTPUT_QUIET
            COMMAND_ERROR_IS_FATAL ANY)
    endif()
    file(REMOVE_RECURSE ${dir})
endforeach()
