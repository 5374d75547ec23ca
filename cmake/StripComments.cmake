# Run by CPack on its staging folder before it packs: drops the compilers'
# .comment section from the programs, as Debian's own packaging does.
file(GLOB programs ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*)
foreach(program ${programs})
    execute_process(COMMAND objcopy --remove-section=.comment ${program} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "objcopy failed on ${program}")
    endif()
endforeach()
