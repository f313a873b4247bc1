# The framework's recommended warnings on every target of the project. The project's own
# sources treat them as errors. The framework's sources compiled into the same targets raise
# dozens under GCC that are not ours to fix: they are compiled without warnings, and the
# framework's headers count as system headers in the project's own code, so that only what
# this project wrote can warn or fail its build.
get_target_property(_scanner_juce_include_dirs juce::juce_core INTERFACE_INCLUDE_DIRECTORIES)

# The source files of the framework's modules that `modules` pull into a target.
function(_scanner_framework_sources out)
  set(pending ${ARGN})
  set(seen "")
  set(sources "")

  while(pending)
    list(POP_FRONT pending module)
    string(REGEX REPLACE "^juce::" "" module "${module}")

    if(module IN_LIST seen OR NOT TARGET ${module})
      continue()
    endif()

    list(APPEND seen ${module})
    get_target_property(module_sources ${module} INTERFACE_SOURCES)
    get_target_property(module_links ${module} INTERFACE_LINK_LIBRARIES)

    if(module_sources)
      list(APPEND sources ${module_sources})
    endif()

    if(module_links)
      list(APPEND pending ${module_links})
    endif()
  endwhile()

  set(${out} ${sources} PARENT_SCOPE)
endfunction()

function(scanner_use_warnings target)
  target_link_libraries(${target} PRIVATE juce::juce_recommended_warning_flags)
  target_include_directories(${target} SYSTEM PRIVATE ${_scanner_juce_include_dirs})

  get_target_property(sources ${target} SOURCES)
  foreach(source IN LISTS sources)
    if(source MATCHES "\\.(c|cc|cpp)$" AND NOT source MATCHES "/juce_[a-z_]+/")
      set_property(SOURCE "${source}" TARGET_DIRECTORY ${target} APPEND PROPERTY COMPILE_OPTIONS -Werror)
    endif()
  endforeach()

  _scanner_framework_sources(framework_sources ${SCANNER_JUCE_MODULES})
  foreach(source IN LISTS framework_sources)
    set_property(SOURCE "${source}" TARGET_DIRECTORY ${target} APPEND PROPERTY COMPILE_OPTIONS -w)
  endforeach()
endfunction()
