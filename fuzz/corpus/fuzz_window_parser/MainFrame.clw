AppFrame APPLICATION('Order Entry'),AT(,,500,320),FONT('MS Sans Serif',8,,),CENTER,MASK,HVSCROLL,ICON('ORDERS.ICO'), |
         STATUS(-1,80,120,45),SYSTEM,MAX,RESIZE,IMM
       MENUBAR
         MENU('&File'),USE(?FileMenu)
           ITEM('&Print Setup...'),USE(?PrintSetup),MSG('Setup printer'),STD(STD:PrintSetup)
           ITEM,SEPARATOR
           ITEM('E&xit'),USE(?Exit),MSG('Exit this application'),STD(STD:Close)
         END
         MENU('&Edit'),USE(?EditMenu)
           ITEM('Cu&t'),USE(?Cut),MSG('Cut Selection To Clipboard'),STD(STD:Cut)
           ITEM('&Copy'),USE(?Copy),MSG('Copy Selection To Clipboard'),STD(STD:Copy)
           ITEM('&Paste'),USE(?Paste),MSG('Paste From Clipboard'),STD(STD:Paste)
         END
         MENU('&Browse'),USE(?BrowseMenu)
           ITEM('&Customers'),USE(?BrowseCustomers),KEY(CtrlShiftC)
           ITEM('&Orders'),USE(?BrowseOrders),KEY(CtrlShiftO)
         END
         MENU('&Window'),USE(?WindowMenu),STD(STD:WindowList)
           ITEM('T&ile'),USE(?Tile),STD(STD:TileWindow)
           ITEM('&Cascade'),USE(?Cascade),STD(STD:CascadeWindow)
         END
         MENU('&Help'),USE(?HelpMenu)
           ITEM('&Contents'),USE(?Contents),STD(STD:HelpIndex)
           ITEM('&About...'),USE(?About)
         END
       END
       TOOLBAR,AT(0,0,500,16)
         BUTTON,AT(4,2,14,12),USE(?Toolbar:Insert),ICON('INSERT.ICO'),TIP('Insert a record')
         BUTTON,AT(20,2,14,12),USE(?Toolbar:Delete),ICON('DELETE.ICO'),TIP('Delete the record')
       END
     END
