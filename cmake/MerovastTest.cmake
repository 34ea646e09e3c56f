# merovast_add_qtest(<name> SOURCES <files...> LIBS <targets...>)
# Builds a Qt Test program into the common bin folder and registers it
# with CTest, headless, with its own settings folder.
function(merovast_add_qtest name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt5::Test ${T_LIBS})
    # Time bounds of a test may allow for the sanitizers' slower code.
    if(MEROVAST_SANITIZE)
        target_compile_definitions(${name} PRIVATE MEROVAST_SANITIZED)
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/testconfig/${name}"
        TIMEOUT 300)
endfunction()

# Every tst_<class>.cpp of the calling folder becomes one test program.
function(merovast_add_qtests_in_dir)
    cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
    foreach(src ${tests})
        get_filename_component(name ${src} NAME_WE)
        merovast_add_qtest(${name} SOURCES ${src} LIBS ${T_LIBS})
    endforeach()
endfunction()
