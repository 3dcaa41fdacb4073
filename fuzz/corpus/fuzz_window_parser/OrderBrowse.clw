BrowseWindow WINDOW('Browse Orders'),AT(,,320,200),FONT('MS Sans Serif',8,,),IMM,HLP('~OrderBrowse'),SYSTEM,GRAY, |
         RESIZE,MDI
       MENUBAR
         MENU('&File'),USE(?FileMenu)
           ITEM('&Print Order'),USE(?PrintOrder),KEY(CtrlP)
           ITEM,SEPARATOR
           ITEM('&Close'),USE(?CloseWindow),STD(STD:Close)
         END
         MENU('&Order'),USE(?OrderMenu)
           ITEM('&Insert'),USE(?InsertOrder),KEY(InsertKey)
           ITEM('&Change'),USE(?ChangeOrder),KEY(CtrlEnter)
           ITEM('&Delete'),USE(?DeleteOrder),KEY(DeleteKey)
           ITEM('&Copy Order'),USE(?CopyOrder),KEY(CtrlC)
         END
       END
       PROMPT('&Locate:'),AT(4,4),USE(?Locate:Prompt)
       ENTRY(@s20),AT(40,4,80,10),USE(Loc:Locator)
       LIST,AT(4,20,312,150),USE(?Browse:1),IMM,HVSCROLL,ALRT(MouseLeft2),ALRT(EnterKey), |
           FORMAT('40R(2)|M~Order~@n7@80L(2)|M~Customer~@s30@60R(2)|M~Date~@d6@'),FROM(Queue:Browse:1)
       BUTTON('&Insert'),AT(100,176,45,14),USE(?Insert)
       BUTTON('&Change'),AT(150,176,45,14),USE(?Change),DEFAULT
       BUTTON('&Delete'),AT(200,176,45,14),USE(?Delete)
       BUTTON('Close'),AT(268,176,45,14),USE(?Close)
     END
