# Run by CPack after staging, before the installer is built: writes tarnwick-files.nsh
# beside the installer script, with the staged files split in two. Program files are
# installed over an older version and removed by the uninstaller; the files under data\
# are the defaults of the user's table and settings, installed only where missing and
# never removed. Listing the staged tree here lets the installer ship whatever the
# targets' install() rules declare.
if(NOT CPACK_GENERATOR STREQUAL "NSIS")
  return()
endif()

set(stage "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB_RECURSE staged RELATIVE "${stage}" LIST_DIRECTORIES false "${stage}/*")
list(SORT staged)

set(program "")
set(data "")
set(remove "")
set(folders "")
set(last_program_folder "-")
set(last_data_folder "-")
foreach(relative IN LISTS staged)
  get_filename_component(folder "${relative}" DIRECTORY)
  string(REPLACE "/" "\\" win_relative "${relative}")
  string(REPLACE "/" "\\" win_folder "${folder}")
  set(target_folder "$INSTDIR")
  if(NOT folder STREQUAL "")
    set(target_folder "$INSTDIR\\${win_folder}")
  endif()
  # NSIS reads "$" as the start of a variable.
  string(REPLACE "$" "$$" source "${stage}/${relative}")
  if(relative MATCHES "^data/")
    if(NOT folder STREQUAL last_data_folder)
      string(APPEND data "  SetOutPath \"${target_folder}\"\n")
      set(last_data_folder "${folder}")
    endif()
    string(APPEND data "  File \"${source}\"\n")
  else()
    if(NOT folder STREQUAL last_program_folder)
      string(APPEND program "  SetOutPath \"${target_folder}\"\n")
      set(last_program_folder "${folder}")
    endif()
    string(APPEND program "  File \"${source}\"\n")
    string(APPEND remove "  Delete \"$INSTDIR\\${win_relative}\"\n")
    while(NOT folder STREQUAL "")
      list(APPEND folders "${folder}")
      get_filename_component(folder "${folder}" DIRECTORY)
    endwhile()
  endif()
endforeach()

# Folders deepest first; RMDir without /r removes a folder only when it is empty.
list(REMOVE_DUPLICATES folders)
list(SORT folders)
list(REVERSE folders)
foreach(folder IN LISTS folders)
  string(REPLACE "/" "\\" win_folder "${folder}")
  string(APPEND remove "  RMDir \"$INSTDIR\\${win_folder}\"\n")
endforeach()

file(WRITE "${CPACK_TOPLEVEL_DIRECTORY}/tarnwick-files.nsh"
  "; Written by cmake/nsis-files.cmake from the staged files.\n"
  "!macro TarnwickInstallProgram\n${program}!macroend\n"
  "!macro TarnwickInstallDefaultData\n${data}!macroend\n"
  "!macro TarnwickRemoveProgram\n${remove}!macroend\n")
