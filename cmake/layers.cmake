# The folders of src are layers, one library each. A library uses only libraries on a lower
# floor, and sees only their headers: its include path holds a folder of links to itself and to
# what it uses, so an include that runs up or sideways does not compile, and a call that does
# not link.
set(vesk_floors
  core 1
  load 2
  layout 2
  runtest 3
  chitest 3
  report 4
  report_print 5
  platform 5
  forms 6
  batch 6
)

function(vesk_floor_of folder out)
  list(FIND vesk_floors ${folder} at)
  if(at EQUAL -1)
    message(FATAL_ERROR "src/${folder} has no floor in cmake/layers.cmake")
  endif()
  math(EXPR at "${at} + 1")
  list(GET vesk_floors ${at} floor)
  set(${out} ${floor} PARENT_SCOPE)
endfunction()

# vesk_library(FOLDER [USES folders below...] [LINKS other libraries...] SOURCES files...):
# the library vesk_FOLDER of src/FOLDER.
function(vesk_library folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "USES;LINKS;SOURCES")
  vesk_floor_of(${folder} floor)
  foreach(used IN LISTS arg_USES)
    vesk_floor_of(${used} used_floor)
    if(NOT used_floor LESS floor)
      message(FATAL_ERROR
        "src/${folder} (floor ${floor}) may not use src/${used} (floor ${used_floor})")
    endif()
  endforeach()

  add_library(vesk_${folder} STATIC ${arg_SOURCES})
  set(view ${CMAKE_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${view})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${view}/${folder} SYMBOLIC)
  target_include_directories(vesk_${folder} PUBLIC ${view})
  list(TRANSFORM arg_USES PREPEND vesk_)
  target_link_libraries(vesk_${folder} PUBLIC ${arg_USES} ${arg_LINKS})
endfunction()
