Window WINDOW('Update Customer'),AT(,,280,190),FONT('MS Sans Serif',8,,FONT:regular),CENTER,GRAY,DOUBLE, |
         MDI,SYSTEM,IMM
       SHEET,AT(4,4,272,160),USE(?CurrentTab)
         TAB('&General'),USE(?GeneralTab)
           PROMPT('&Name:'),AT(8,24),USE(?Cus:Name:Prompt)
           ENTRY(@s40),AT(60,24,140,10),USE(Cus:Name),REQ
           PROMPT('&Address:'),AT(8,40),USE(?Cus:Address:Prompt)
           ENTRY(@s40),AT(60,40,140,10),USE(Cus:Address)
           PROMPT('City:'),AT(8,56),USE(?Cus:City:Prompt)
           ENTRY(@s30),AT(60,56,100,10),USE(Cus:City)
           OPTION('&Status'),AT(8,72,120,40),USE(Cus:Status),BOXED
             RADIO('&Active'),AT(16,84),USE(?Status:Active)
             RADIO('&Inactive'),AT(16,96),USE(?Status:Inactive)
           END
         END
         TAB('&Contacts'),USE(?ContactsTab)
           PROMPT('&Phone:'),AT(8,24),USE(?Cus:Phone:Prompt)
           ENTRY(@P(###)###-####P),AT(60,24,80,10),USE(Cus:Phone)
           PROMPT('&E-mail:'),AT(8,40),USE(?Cus:Email:Prompt)
           ENTRY(@s60),AT(60,40,200,10),USE(Cus:Email)
           CHECK('Send &Newsletter'),AT(8,56),USE(Cus:Newsletter)
           LIST,AT(8,72,256,80),USE(?ContactList),FORMAT('80L(2)|M~Name~@s30@60L(2)|M~Phone | Fax~@s20@'), |
               FROM(ContactQ)
         END
         TAB('&Notes'),USE(?NotesTab)
           PROMPT('N&otes:'),AT(8,24),USE(?Cus:Notes:Prompt)
           TEXT,AT(8,36,256,110),USE(Cus:Notes),VSCROLL
         END
       END
       BUTTON('&OK'),AT(160,170,50,14),USE(?OK),DEFAULT,KEY(CtrlEnter)
       BUTTON('Cancel'),AT(220,170,50,14),USE(?Cancel),STD(STD:Close),KEY(EscKey)
       BUTTON('&Help'),AT(8,170,50,14),USE(?Help),STD(STD:Help),KEY(F1Key)
     END
