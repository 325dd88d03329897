# vxxx_qt_target(<target>): Qt's code generators (moc for Q_OBJECT classes, uic for .ui forms)
# run for this target only; the layers without Qt never see them. The target's Qt headers come
# precompiled, once its link libraries are all known (at the end of the configure).
function(vxxx_qt_target target)
    set_target_properties(${target} PROPERTIES AUTOMOC ON AUTOUIC ON)
    # A library's files are compiled a batch at a time: the precompiled header, which takes longer
    # to load than most of these files take to compile, is then loaded once per batch.
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
        set_target_properties(${target} PROPERTIES UNITY_BUILD ON)
    endif()
    # A deferred call reads its arguments when it runs: the target's name goes in as text.
    cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${PROJECT_SOURCE_DIR}]]
        CALL vxxx_precompile_qt_headers [[${target}]])")
endfunction()

# Every window, its moc file and its tests parse the same Qt Widgets headers, and the chart's
# targets the plotting library's header (which brings the whole of Qt Widgets) on top: each set is
# compiled once, by the library the others stand on, and reused by the rest. A reused header must
# have been compiled with the same flags and with no macro that the user defines otherwise; GCC
# warns when it cannot use one (-Winvalid-pch), which CI's -Werror turns into a failure.
set(VXXX_WIDGETS_HEADERS_FROM ui_panel)
set(VXXX_WIDGETS_HEADERS
    <QApplication> <QCheckBox> <QComboBox> <QDialog> <QFile> <QGroupBox> <QHeaderView> <QLabel>
    <QLineEdit> <QListWidget> <QMenu> <QMessageBox> <QPlainTextEdit> <QProgressBar> <QPushButton>
    <QRadioButton> <QTableWidget> <QTimer> <QWidget>)
set(VXXX_CHART_HEADERS_FROM chart_engine)
set(VXXX_CHART_HEADERS <qcustomplot.h>)

function(vxxx_precompile_qt_headers target)
    vxxx_linked_libraries(${target} linked)
    if(NOT "Qt6::Widgets" IN_LIST linked)
        return()
    endif()
    # The chart's targets link the plotting library, or a chart target, themselves; the whole
    # program's do not need its header.
    set(kind WIDGETS)
    get_target_property(direct ${target} LINK_LIBRARIES)
    foreach(library IN LISTS direct)
        unset(library_kind)
        if(TARGET ${library})
            get_target_property(library_kind ${library} VXXX_PRECOMPILED_HEADERS)
        endif()
        if(library STREQUAL "QCustomPlotQt6::QCustomPlotQt6" OR library_kind STREQUAL "CHART")
            set(kind CHART)
        endif()
    endforeach()
    set_target_properties(${target} PROPERTIES VXXX_PRECOMPILED_HEADERS ${kind})
    if(target STREQUAL VXXX_${kind}_HEADERS_FROM)
        target_precompile_headers(${target} PRIVATE ${VXXX_${kind}_HEADERS})
    else()
        target_precompile_headers(${target} REUSE_FROM ${VXXX_${kind}_HEADERS_FROM})
    endif()
endfunction()

# vxxx_linked_libraries(<target> <variable>): every library that <target> links, directly or
# through the project's own libraries.
function(vxxx_linked_libraries target variable)
    set(found)
    set(pending ${target})
    while(NOT pending STREQUAL "")
        list(POP_FRONT pending library)
        if(library IN_LIST found)
            continue()
        endif()
        list(APPEND found ${library})
        if(TARGET ${library})
            get_target_property(imported ${library} IMPORTED)
            if(NOT imported)
                foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
                    get_target_property(libraries ${library} ${property})
                    if(libraries)
                        list(APPEND pending ${libraries})
                    endif()
                endforeach()
            endif()
        endif()
    endwhile()
    set(${variable} ${found} PARENT_SCOPE)
endfunction()
