K
  Contoso Tools  
m
Fabrikam\Shared
V
NOTEPAD2.EXE
0
HKEY_LOCAL_MACHINE\Software\Litware\Path|C:\Litware\lw.exe
5
HKEY_CURRENT_USER\Software\Tailspin\Run|
 11 
HKEY_USERS\.DEFAULT\Woodgrove|x
12
skipped by its number
X
skipped by its letter
K
   
7abc
Northwind|
K