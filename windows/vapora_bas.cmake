# Writes Vapora.bas, the VBA module of worksheet functions over vapora.dll, from vapora.h:
# the pairs (enum vapora_pair, in order: the index is the enum's value) and the fields of
# vapora_state are read from the header, so the module cannot fall out of step with it.
#   cmake -DHEADER=library/vapora.h -DOUT=Vapora.bas -P windows/vapora_bas.cmake
file(READ ${HEADER} header)

string(REGEX MATCH "enum vapora_pair {([^}]*)}" _ "${header}")
string(REGEX MATCHALL "VAPORA_[A-Z]+" pairs "${CMAKE_MATCH_1}")
string(REGEX MATCH "struct vapora_state {[ \n]*double ([^;]*);" _ "${header}")
string(REPLACE "," ";" fields "${CMAKE_MATCH_1}")
string(REPLACE " " "" fields "${fields}")
list(LENGTH pairs pair_count)
list(LENGTH fields field_count)
if(NOT pair_count EQUAL 7 OR NOT field_count EQUAL 6)
  message(FATAL_ERROR "${HEADER}: ${pair_count} pairs and ${field_count} fields read, not 7 and 6")
endif()

set(ok "If status = 0 Then Answer = value Else Answer = CVErr(xlErrValue)")
set(declares "
Private Declare PtrSafe Function vapora_state_field Lib \"vapora.dll\" Alias \"VaporaState\" _
    (ByVal pair As Long, ByVal a As Double, ByVal b As Double, ByVal field As Long, _
     ByVal flags As Long, ByRef status As Long) As Double
Private Declare PtrSafe Function vapora_turbine_field Lib \"vapora.dll\" Alias \"VaporaTurbine\" _
    (ByVal p1 As Double, ByVal t1 As Double, ByVal p2 As Double, ByVal efficiency As Double, _
     ByVal point As Long, ByVal field As Long, ByRef status As Long) As Double
Private Declare PtrSafe Function vapora_sat_t Lib \"vapora.dll\" Alias \"VaporaSatTemperature\" _
    (ByVal p As Double, ByRef status As Long) As Double
Private Declare PtrSafe Function vapora_sat_p Lib \"vapora.dll\" Alias \"VaporaSatPressure\" _
    (ByVal t As Double, ByRef status As Long) As Double
Private Declare PtrSafe Function vapora_text Lib \"vapora.dll\" Alias \"VaporaStatusText\" _
    (ByVal status As Long, ByVal text As String, ByVal size As Long) As Long
Private Declare PtrSafe Function LoadLibraryA Lib \"kernel32\" (ByVal path As String) As LongPtr")
string(REPLACE "PtrSafe " "" declares6 "${declares}")
string(REPLACE "LongPtr" "Long" declares6 "${declares6}")

set(bas "Attribute VB_Name = \"Vapora\"
' Vapora: water and steam (IFC-67) worksheet functions over vapora.dll.
' Generated from vapora.h by the build; rebuild rather than edit.
'
' Units as in the Vapora window: t [degC], p [bar], h [kJ/kg], s [kJ/(kg degC)],
' v [m3/kg], x [kg/kg]; a turbine's efficiency in percent.
'   =VaporaH_TP(300; 10)   h at 300 degC and 10 bar
'   =VaporaT_PH(50; 3000)  t at 50 bar and 3000 kJ/kg
'   =VaporaTurbineH2(100; 500; 0.1; 85)  the outlet's h: 100 bar, 500 degC to 0.1 bar at 85 %
' A state the library refuses gives #VALUE!; =VaporaStatus_TP(900; 10) says why.
' vapora.dll (the 32-bit one for 32-bit Office, the 64-bit one for 64-bit Office) is
' loaded from the workbook's folder, or else from the DLL search path.
Option Explicit
#If VBA7 Then
${declares}
#Else
${declares6}
#End If

Private Sub LoadBeside()
    Static tried As Boolean
    If Not tried Then
        tried = True
        If Len(ThisWorkbook.Path) > 0 Then LoadLibraryA ThisWorkbook.Path & \"\\vapora.dll\"
    End If
End Sub

Private Function Answer(ByVal value As Double, ByVal status As Long) As Variant
    ${ok}
End Function

Private Function StatusText(ByVal status As Long) As String
    Dim text As String
    text = String$(64, vbNullChar)
    StatusText = Left$(text, vapora_text(status, text, Len(text)))
End Function

Public Function VaporaSatT(ByVal p As Double) As Variant
    Dim status As Long
    LoadBeside
    VaporaSatT = Answer(vapora_sat_t(p, status), status)
End Function

Public Function VaporaSatP(ByVal t As Double) As Variant
    Dim status As Long
    LoadBeside
    VaporaSatP = Answer(vapora_sat_p(t, status), status)
End Function
")

# The pair's letters name its arguments: VAPORA_PH takes (p, h).
set(index 0)
foreach(pair ${pairs})
  string(REGEX REPLACE "VAPORA_(.)(.)" "\\1_\\2" args "${pair}")
  string(REGEX REPLACE "VAPORA_" "" suffix "${pair}")
  string(TOLOWER "${args}" args)
  string(REPLACE "_" ";" ab "${args}")
  list(GET ab 0 a)
  list(GET ab 1 b)
  set(field_index 0)
  foreach(field ${fields})
    string(TOUPPER "${field}" name)
    string(APPEND bas "
Public Function Vapora${name}_${suffix}(ByVal ${a} As Double, ByVal ${b} As Double) As Variant
    Dim status As Long
    LoadBeside
    Vapora${name}_${suffix} = Answer(vapora_state_field(${index}, ${a}, ${b}, ${field_index}, 0, status), status)
End Function
")
    math(EXPR field_index "${field_index} + 1")
  endforeach()
  string(APPEND bas "
Public Function VaporaStatus_${suffix}(ByVal ${a} As Double, ByVal ${b} As Double) As String
    Dim status As Long
    LoadBeside
    vapora_state_field ${index}, ${a}, ${b}, 0, 0, status
    VaporaStatus_${suffix} = StatusText(status)
End Function
")
  math(EXPR index "${index} + 1")
endforeach()

# The turbine's points: 1 the inlet, 2s the isentropic end, 2 the outlet.
set(point_index 0)
foreach(point 1 2s 2)
  set(field_index 0)
  foreach(field ${fields})
    string(TOUPPER "${field}" name)
    string(APPEND bas "
Public Function VaporaTurbine${name}${point}(ByVal p1 As Double, ByVal t1 As Double, ByVal p2 As Double, ByVal efficiency As Double) As Variant
    Dim status As Long
    LoadBeside
    VaporaTurbine${name}${point} = Answer(vapora_turbine_field(p1, t1, p2, efficiency, ${point_index}, ${field_index}, status), status)
End Function
")
    math(EXPR field_index "${field_index} + 1")
  endforeach()
  math(EXPR point_index "${point_index} + 1")
endforeach()

# VBA modules are read as Windows text.
string(REPLACE "\n" "\r\n" bas "${bas}")
file(WRITE ${OUT} "${bas}")
