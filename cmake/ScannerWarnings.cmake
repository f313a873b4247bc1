# The framework's recommended warnings on every target of the project. The project's own
# sources treat them as errors; the framework's sources compiled into the same targets raise
# dozens under GCC and are left as they are. The framework's headers count as system headers
# in the project's own code, so that only what this project wrote can fail its build.
get_target_property(_scanner_juce_include_dirs juce::juce_core INTERFACE_INCLUDE_DIRECTORIES)

function(scanner_use_warnings target)
  target_link_libraries(${target} PRIVATE juce::juce_recommended_warning_flags)
  target_include_directories(${target} SYSTEM PRIVATE ${_scanner_juce_include_dirs})
  get_target_property(sources ${target} SOURCES)
  foreach(source IN LISTS sources)
    if(source MATCHES "\\.(c|cc|cpp)$" AND NOT source MATCHES "/juce_[a-z_]+/")
      set_property(SOURCE "${source}" TARGET_DIRECTORY ${target} APPEND PROPERTY COMPILE_OPTIONS -Werror)
    endif()
  endforeach()
endfunction()
