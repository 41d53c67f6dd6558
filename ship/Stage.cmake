# Gathers what a user receives into one folder and writes the installer's file lists:
#   cmake -DBIN=<build/bin> -DSTAGE=<folder> -DMODULES="<file>|..." -P Stage.cmake
# MODULES are the shipped programs and DLLs; the skin folder "Resource", the help file
# and Update.ini join them when the build has made them. The user's own files
# (FernOption.dat, *.clf, UserInfo) are never staged, so neither an upgrade nor the
# uninstaller touches them.
cmake_minimum_required(VERSION 3.20)
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
string(REPLACE "|" ";" files "${MODULES}")
foreach(optional FernHelp.chm Update.ini)
    if(EXISTS ${BIN}/${optional})
        list(APPEND files ${optional})
    endif()
endforeach()
file(GLOB_RECURSE skin RELATIVE ${BIN} ${BIN}/Resource/*)
list(SORT skin)
list(APPEND files ${skin})

# NSIS lists: files.nsh installs, uninstall.nsh removes exactly the staged files and
# then only the folders that are left empty.
set(install "")
set(uninstall "")
set(folders "")
foreach(file ${files})
    get_filename_component(folder ${file} DIRECTORY)
    file(COPY ${BIN}/${file} DESTINATION ${STAGE}/${folder})
    string(REPLACE "/" "\\" windows ${file})
    string(REPLACE "/" "\\" windowsFolder "${folder}")
    if(NOT folder IN_LIST folders)
        list(APPEND folders ${folder})
        if(folder)
            string(APPEND install "CreateDirectory \"$INSTDIR\\${windowsFolder}\"\n")
        endif()
    endif()
    string(APPEND install "File \"/oname=${windows}\" \"\${STAGE}/${file}\"\n")
    string(APPEND uninstall "Delete \"$INSTDIR\\${windows}\"\n")
endforeach()
list(REVERSE folders)
foreach(folder ${folders})
    if(folder)
        string(REPLACE "/" "\\" windowsFolder ${folder})
        string(APPEND uninstall "RMDir \"$INSTDIR\\${windowsFolder}\"\n")
    endif()
endforeach()
get_filename_component(lists ${STAGE} DIRECTORY)
file(WRITE ${lists}/files.nsh "SetOutPath \"$INSTDIR\"\n${install}")
file(WRITE ${lists}/uninstall.nsh "${uninstall}")
