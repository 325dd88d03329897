# vxxx_qt_target(<target>): Qt's code generators (moc for Q_OBJECT classes, uic for .ui forms)
# run for this target only; the layers without Qt never see them.
function(vxxx_qt_target target)
    set_target_properties(${target} PROPERTIES AUTOMOC ON AUTOUIC ON)
endfunction()
