# Headers are included by bare name from each library's own folder, so a name that
# stands in two folders is taken from whichever folder comes first on a target's
# include path. Fails when two folders hold a header of the same name.
# Only the source folders: a build folder's Wine prefix links to the whole file system.
set(folders base store hotkeys editor plugin hostapi checker resources host tests bench)
set(headers)
foreach(folder ${folders})
  file(GLOB_RECURSE found RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h)
  list(APPEND headers ${found})
endforeach()
set(clashes)
foreach(header ${headers})
  get_filename_component(name ${header} NAME)
  string(TOLOWER ${name} name)
  if(DEFINED where_${name})
    list(APPEND clashes "${header} and ${where_${name}}")
  else()
    set(where_${name} ${header})
  endif()
endforeach()
if(clashes)
  list(JOIN clashes "\n  " text)
  message(FATAL_ERROR "headers of the same name:\n  ${text}")
endif()
