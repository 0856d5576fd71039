# The source tree is laid out by link level: src/core (n4core), src/paint
# (n4paint), src/ui (n4ui), and the two programs' main.cpp in src/app and
# src/cli. Each level folder lists its sources in its own CMakeLists.txt.

# Fails configuring when a .cpp file in the calling level folder is missing
# from its list (it would be left out of the build without a word).
function(n4_check_listed list_name)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(source ${found})
    if(NOT source IN_LIST ${list_name})
      file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
      message(FATAL_ERROR "${folder}/${source} is in no library: list it in "
                          "${folder}/CMakeLists.txt (${list_name})")
    endif()
  endforeach()
endfunction()

# A source outside the level folders belongs to no library either.
file(GLOB_RECURSE n4_all_sources CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
  ${PROJECT_SOURCE_DIR}/src/*.cpp)
foreach(source ${n4_all_sources})
  if(NOT source MATCHES "^src/(core|paint|ui)/" AND NOT source STREQUAL "src/app/main.cpp"
     AND NOT source STREQUAL "src/cli/main.cpp")
    message(FATAL_ERROR "${source} is outside the level folders: move it under "
                        "src/core, src/paint or src/ui")
  endif()
endforeach()
