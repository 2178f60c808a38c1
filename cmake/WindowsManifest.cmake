# brisko_utf8_manifest(target): embeds the application manifest that declares UTF-8 as the active code
# page, so the ANSI functions the program calls carry every name losslessly. For the console executables
# (tests, brisko-cli); a program with its own manifest (the GUI) declares the code page there instead,
# since an executable holds one manifest.
function(brisko_utf8_manifest target)
    if(WIN32)
        target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/platform/win32/utf8.rc)
    endif()
endfunction()
